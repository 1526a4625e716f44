// The skinned menu: measures, bar entries and popup items drawn into memory, the context
// restored and nothing left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "skin/menu_skin.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"
#include "toolkit/menu.h"

namespace zam {
namespace {

using test::Surface;

// 0 "&Файл" on the bar; 1 "Открыть..."; 2 "Отменить"; 3, 4 separators; 6 in a submenu.
const char* const kEntries[] = {"&Файл",     "(",        "Открыть...", "Отменить", "-", "-",
                                "Подсветка", "(",        "текущих",    ")",        ")", "&Правка ",
                                "(",         "Выделить", ")",          ""};

constexpr COLORREF kBackground = RGB(255, 204, 94);
constexpr COLORREF kAccent = RGB(255, 153, 0);

bool IsDark(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
}

// A 16 x 16 device-dependent picture, as the program's bitmap resources are loaded: the left
// half magenta (transparent), the right half the colour.
HBITMAP HalfBitmap(COLORREF color) {
    WindowDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), 16, 16);
    MemoryDC dc(screen.Get());
    SelectGuard selected(dc.Get(), bitmap);
    const RECT left{0, 0, 8, 16}, right{8, 0, 16, 16};
    FillRect(dc.Get(), &left, OwnedBrush(CreateSolidBrush(RGB(255, 0, 255))).Get());
    FillRect(dc.Get(), &right, OwnedBrush(CreateSolidBrush(color)).Get());
    return bitmap;
}

void SetSystemState(MenuEntry* item, UINT state) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = state;
    SetMenuItemInfoW(item->ParentHandle(), item->Position(), TRUE, &info);
}

// The x range of pixels in the rows top..bottom - 1 that differ from the reference (or, without
// one, that are dark); {INT_MAX, -1} when there are none.
std::pair<int, int> Marked(const Surface& s, const Surface* reference, int top, int bottom,
                           int left = 0, int right = -1) {
    std::pair<int, int> range{INT_MAX, -1};
    right = right < 0 ? s.Width() : right;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool marked = reference ? s.At(x, y) != reference->At(x, y) : IsDark(s.At(x, y));
            if (marked) {
                range = {std::min(range.first, x), std::max(range.second, x)};
            }
        }
    }
    return range;
}

// Fails the test when it leaves menus, the style, tools, bitmaps or GDI objects behind.
class SkinMenuTest : public test::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        ASSERT_EQ(CurrentMenuStyle(), nullptr);
        form_ = NewForm(nullptr, "");
        form_->HasBorder(false);
        form_->SetPosition(40, 40)->SetSize(400, 60);
        menu_ = NewMenu(form_, kEntries);
        SkinMenu(menu_);
    }
    void TearDown() override {
        Free(form_);
        EXPECT_EQ(CurrentMenuStyle(), nullptr) << "the style went with the last skinned menu";
        DrawingTest::TearDown();
        EXPECT_EQ(LiveMenus(), menus_);
    }
    MenuEntry* Item(int i) { return MenuItem(menu_, i); }

    Control* form_ = nullptr;
    Menu* menu_ = nullptr;

private:
    int menus_ = LiveMenus();
};

TEST_F(SkinMenuTest, MeasuresTheBarEntryClosedAndOpenAndPopupItemsPlainLitDisabledAndTitled) {
    // Width in the high word, height in the low one.
    EXPECT_EQ(MeasureItem(Item(0)), 45 << 16 | 22) << "five characters on the bar";
    EXPECT_EQ(MeasureItem(Item(3)), 38 << 16 | 8) << "a separator";
    const Rect bounds{20, 2, 80, 24};
    Surface closed(100, 30);
    EXPECT_TRUE(DrawBarItem(Item(0), {closed.Dc(), bounds, ODA_DRAWENTIRE, 0}));
    const auto text = Marked(closed, nullptr, 2, 24);
    EXPECT_GE(text.first, 40) << "black caption from L + 20";
    EXPECT_LE(text.first, 43);
    // Open: a black tab open at the bottom, a shadow right of it, a white caption.
    ASSERT_TRUE(HiliteMenuItem(form_->Handle(), menu_->Handle(), 0, MF_BYPOSITION | MF_HILITE));
    Surface open(100, 30);
    DrawBarItem(Item(0), {open.Dc(), bounds, ODA_SELECT, ODS_SELECTED});
    EXPECT_EQ(open.At(20, 2), RGB(0, 0, 0));
    EXPECT_EQ(open.At(72, 23), RGB(0, 0, 0));
    EXPECT_EQ(open.At(21, 23), kAccent) << "no line at the bottom";
    EXPECT_NE(open.At(73, 20), kBackground) << "the shadow";
    EXPECT_GT(open.Count(RGB(255, 255, 255)), 10) << "the caption";

    // Popup items: plain, highlighted, disabled, and a titled separator.
    const Rect row{0, 0, 200, 22};
    SetItemBitmaps(Item(1), HalfBitmap(RGB(0, 0, 255)), HalfBitmap(RGB(0, 160, 0)));
    Surface plain(200, 22);
    // The menu's context is the system's: what the drawing selects and sets is put back.
    const HGDIOBJ font = GetCurrentObject(plain.Dc(), OBJ_FONT);
    SetTextColor(plain.Dc(), RGB(1, 2, 3));
    EXPECT_TRUE(DrawPopupItem(Item(1), {plain.Dc(), row, ODA_DRAWENTIRE, 0}));
    EXPECT_EQ(GetTextColor(plain.Dc()), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(plain.Dc(), OBJ_FONT), font);
    EXPECT_EQ(plain.At(23, 20), kAccent) << "the icon column, seen through the magenta half";
    EXPECT_EQ(plain.At(24, 20), kBackground);
    EXPECT_EQ(plain.At(20, 18), RGB(0, 0, 255));
    const auto caption = Marked(plain, nullptr, 0, 22, 22);
    EXPECT_GE(caption.first, 27) << "black caption from L + 26";
    EXPECT_LE(caption.first, 29);

    // Highlighted: the gradient in a black frame, and the bitmap raised one pixel up and left.
    SetSystemState(Item(1), MFS_HILITE);
    Surface lit(200, 22);
    DrawPopupItem(Item(1), {lit.Dc(), row, ODA_SELECT, ODS_SELECTED});
    Surface gradient(200, 22);
    GradientFill(gradient.Dc(), row, RGB(255, 255, 255), kMenuGradientEnd);
    EXPECT_EQ(lit.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(lit.At(1, 1), gradient.At(1, 1));
    EXPECT_EQ(lit.At(12, 2), RGB(0, 0, 255)) << "raised copy";
    EXPECT_GT(Marked(lit, &gradient, 1, 21, 26, 199).first, 100) << "right-aligned caption";

    // Disabled: no gradient, an orange caption and a black and orange bitmap.
    SetSystemState(Item(1), MFS_HILITE | MFS_GRAYED);
    Surface grey(200, 22);
    DrawPopupItem(Item(1), {grey.Dc(), row, ODA_SELECT, ODS_SELECTED | ODS_DISABLED});
    EXPECT_EQ(grey.At(199, 21), kBackground);
    EXPECT_GT(grey.Count(kAccent), 5) << "orange caption";
    EXPECT_EQ(grey.Count(RGB(0, 0, 255)) + grey.Count(RGB(0, 160, 0)), 0) << "monochrome bitmap";

    // A titled separator: the Russian word in the accent colour, then the line after it.
    SetItemText(Item(4), "биграммы");
    Surface titled(150, 14);
    DrawPopupItem(Item(4), {titled.Dc(), {0, 0, 150, 14}, ODA_DRAWENTIRE, 0});
    EXPECT_EQ(MeasureItem(Item(4)), 94 << 16 | 14);
    EXPECT_GT(titled.Count(kAccent), 10);
    EXPECT_EQ(titled.At(89, 6), kBackground);
    EXPECT_EQ(titled.At(90, 6), GetSysColor(COLOR_BTNSHADOW)) << "the line starts after the title";
}

}  // namespace
}  // namespace zam
