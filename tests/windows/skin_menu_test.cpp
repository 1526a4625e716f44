// The skinned menu: item measures, the shared style's lifetime, the gradient and shade colours,
// bar entries and popup items drawn into memory and on screen, and nothing left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "skin/menu_skin.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/menu.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using test::Surface;

// 0 "&Файл" on the bar; 1 "Открыть..."; 2 "Отменить"; 3 "-"; 4 "-" (titled later);
// 5 "Подсветка" opening 6 "текущих"; 7 "&Правка " on the bar.
const char* const kEntries[] = {"&Файл",     "(",        "Открыть...", "Отменить", "-", "-",
                                "Подсветка", "(",        "текущих",    ")",        ")", "&Правка ",
                                "(",         "Выделить", ")",          ""};

constexpr COLORREF kBackground = RGB(255, 204, 94);
constexpr COLORREF kAccent = RGB(255, 153, 0);

bool IsDark(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
}

// A 16 x 16 picture: the left half magenta (transparent), the right half the colour.
HBITMAP HalfBitmap(COLORREF color) {
    Surface source(16, 16, RGB(255, 0, 255));
    HBRUSH brush = CreateSolidBrush(color);
    const RECT right{8, 0, 16, 16};
    FillRect(source.Dc(), &right, brush);
    DeleteObject(brush);
    // A device-dependent copy, as the program's bitmap resources are loaded.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(source.Dc());
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, 16, 16, source.Dc(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
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
class SkinMenuTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
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
        ControlTest::TearDown();
        EXPECT_EQ(LiveMenus(), menus_);
        EXPECT_EQ(LiveGraphicTools(), tools_);
        EXPECT_EQ(LiveBitmaps(), bitmaps_);
        EXPECT_EQ(LiveGdiCounts().objects, gdi_.objects);
        EXPECT_EQ(LiveGdiCounts().memoryDcs, gdi_.memoryDcs);
    }
    MenuEntry* Item(int i) { return MenuItem(menu_, i); }

    Control* form_ = nullptr;
    Menu* menu_ = nullptr;

private:
    int menus_ = LiveMenus();
    int tools_ = LiveGraphicTools();
    int bitmaps_ = LiveBitmaps();
    GdiCounts gdi_ = LiveGdiCounts();
};

using SkinMenuMeasures = SkinMenuTest;
using SkinMenuStyle = SkinMenuTest;
using SkinMenuColours = SkinMenuTest;
using SkinMenuBar = SkinMenuTest;
using SkinMenuPopup = SkinMenuTest;
using SkinMenuLifetime = SkinMenuTest;

TEST_F(SkinMenuMeasures, BarEntriesPopupItemsAndSeparators) {
    auto size = [](const MenuEntry* item) {
        const int32_t packed = MeasureItem(item);
        return std::pair<int, int>{packed >> 16, packed & 0xFFFF};
    };
    EXPECT_EQ(size(Item(0)), (std::pair<int, int>{45, 22})) << "five characters on the bar";
    EXPECT_EQ(size(Item(3)), (std::pair<int, int>{38, 8}));
    SetItemText(Item(4), "биграммы");
    EXPECT_EQ(size(Item(4)), (std::pair<int, int>{94, 14}));
    EXPECT_EQ(MeasureItem(nullptr), 0);

    // The same caption in a popup, and the answer the owner window gives the system.
    const char* const popupEntries[] = {"&Файл", ""};
    Menu* popup = NewMenu(form_, popupEntries);
    SkinMenu(popup);
    EXPECT_EQ(size(MenuItem(popup, 0)), (std::pair<int, int>{73, 22}));
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0,
                              1,        1, static_cast<ULONG_PTR>(MenuItem(popup, 0)->CommandId())};
    SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 73u);
    EXPECT_EQ(measure.itemHeight, 22u);

    // A caption too long for the packing is cut, never wrapped into the height.
    SetItemText(MenuItem(popup, 0), std::string(20000, 'x'));
    EXPECT_EQ(size(MenuItem(popup, 0)), (std::pair<int, int>{0x7FFF, 22}));

    // The system lays the bar out with these widths: 8 characters are 21 pixels more than 5.
    test::ShowQuietly(form_);
    RECT file{};
    RECT edit{};
    ASSERT_TRUE(GetMenuItemRect(form_->Handle(), menu_->Handle(), 0, &file));
    ASSERT_TRUE(GetMenuItemRect(form_->Handle(), menu_->Handle(), 1, &edit));
    EXPECT_EQ((edit.right - edit.left) - (file.right - file.left), 3 * 7);
}

TEST_F(SkinMenuStyle, OneRecordServesEverySkinnedMenuAndGoesWithTheLast) {
    MenuStyle* style = CurrentMenuStyle();
    ASSERT_NE(style, nullptr);
    const FontDescription& font = style->Font()->Font();
    EXPECT_EQ(font.charset, RUSSIAN_CHARSET);
    EXPECT_EQ(font.quality, 4);
    EXPECT_EQ(font.weight, 1);
    EXPECT_STREQ(font.name, DefaultFont().name);

    for (int i = 0; i < menu_->Count(); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(Item(i)->ParentHandle(), Item(i)->Position(), TRUE, &info);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
    }

    // A second menu shares the record; skinning one again or skinning null changes nothing.
    bool destroyed = false;
    Menu* second = NewMenu(nullptr, kEntries);
    second->OnDestroy = MakeEvent(
        static_cast<void*>(&destroyed),
        +[](void* flag, ToolkitObject*) { *static_cast<bool*>(flag) = true; });
    SkinMenu(second);
    SkinMenu(menu_);
    SkinMenu(nullptr);
    EXPECT_EQ(CurrentMenuStyle(), style);
    Free(menu_);
    EXPECT_EQ(CurrentMenuStyle(), style) << "the second menu still uses it";
    const HGDIOBJ brush = style->Brush()->ToolHandle();
    Free(second);
    EXPECT_TRUE(destroyed) << "the menu's own destruction handler still runs";
    EXPECT_EQ(CurrentMenuStyle(), nullptr);
    EXPECT_EQ(GetObjectType(brush), 0u);

    // Without a style nothing is drawn.
    Surface surface(30, 30, RGB(1, 2, 3));
    menu_ = NewMenu(form_, kEntries);
    EXPECT_FALSE(DrawPopupItem(Item(1), {surface.Dc(), {0, 0, 30, 22}, ODA_DRAWENTIRE, 0}));
    EXPECT_EQ(surface.Count(RGB(1, 2, 3)), 900);
    SkinMenu(menu_);
    EXPECT_FALSE(DrawBarItem(nullptr, {surface.Dc(), {0, 0, 30, 22}, ODA_DRAWENTIRE, 0}));
    EXPECT_FALSE(DrawBarItem(Item(0), {nullptr, {0, 0, 30, 22}, ODA_DRAWENTIRE, 0}));
    DrawItemText(nullptr, surface.Dc(), "x", false, {0, 0, 30, 22});
    EXPECT_EQ(surface.Count(RGB(1, 2, 3)), 900);
}

TEST_F(SkinMenuColours, DarkerShadesAndGradientCorners) {
    Surface s(120, 40, RGB(9, 9, 9));
    // From the shadow base 0x5ECCFF: red and blue n lower, green n - 2 lower, kept in 0..255.
    EXPECT_EQ(DarkerColor(s.Dc(), kMenuShadowBase, 10), RGB(245, 196, 84));
    EXPECT_EQ(DarkerColor(s.Dc(), kMenuShadowBase, 100), RGB(155, 106, 0));
    EXPECT_EQ(DarkerColor(s.Dc(), kMenuShadowBase, 1000), RGB(0, 0, 0));
    EXPECT_EQ(DarkerColor(s.Dc(), kMenuShadowBase, -1000), RGB(255, 255, 255));
    EXPECT_EQ(DarkerColor(nullptr, kMenuShadowBase, 30), RGB(225, 176, 64));

    // 100 x 22 from white to the gradient end 0x0077FF.
    GradientFill(s.Dc(), {10, 5, 110, 27}, RGB(255, 255, 255), kMenuGradientEnd);
    EXPECT_EQ(s.At(10, 5), RGB(255, 255, 255));
    EXPECT_EQ(s.At(109, 5), RGB(255, 188, 129));  // t = 506
    EXPECT_EQ(s.At(10, 26), RGB(255, 191, 134));  // t = 488
    EXPECT_EQ(s.At(109, 26), RGB(255, 123, 8));   // t = 995
    EXPECT_EQ(s.Count(RGB(9, 9, 9)), 120 * 40 - 100 * 22) << "nothing outside the rectangle";

    // Empty, inverted and absurd rectangles paint nothing.
    Surface empty(20, 20, RGB(9, 9, 9));
    GradientFill(empty.Dc(), {0, 5, 20, 5}, 0, 0xFFFFFF);
    GradientFill(empty.Dc(), {15, 0, 5, 20}, 0, 0xFFFFFF);
    GradientFill(empty.Dc(), {INT32_MIN, 0, INT32_MAX, 20}, 0, 0xFFFFFF);
    GradientFill(nullptr, {0, 0, 20, 20}, 0, 0xFFFFFF);
    EXPECT_EQ(empty.Count(RGB(9, 9, 9)), 400);
}

TEST_F(SkinMenuBar, ClosedEntryOpenTabWithShadowAndFocusMark) {
    const COLORREF shade30 = RGB(225, 176, 64);
    const COLORREF shade60 = RGB(195, 146, 34);
    const COLORREF shade40 = RGB(215, 166, 54);
    const COLORREF white = RGB(255, 255, 255);
    // Entry (20, 2) - (80, 24).
    const Rect bounds{20, 2, 80, 24};
    Surface closed(100, 30);
    EXPECT_TRUE(DrawBarItem(Item(0), {closed.Dc(), bounds, ODA_DRAWENTIRE, 0}));
    EXPECT_EQ(closed.At(14, 2), kBackground);
    EXPECT_EQ(closed.At(85, 23), kBackground);
    EXPECT_EQ(closed.At(13, 2), white);
    EXPECT_EQ(closed.At(86, 2), white);
    EXPECT_EQ(closed.At(20, 1), white);
    const auto text = Marked(closed, nullptr, 2, 24);
    EXPECT_GE(text.first, 40) << "black caption from L + 20";
    EXPECT_LE(text.first, 43);
    // A narrow entry: its caption runs to the right edge, no room kept for a submenu arrow.
    Surface narrow(100, 30);
    DrawBarItem(Item(0), {narrow.Dc(), {20, 2, 66, 24}, ODA_DRAWENTIRE, 0});
    EXPECT_GE(Marked(narrow, nullptr, 2, 24).second, 62);

    // Open and highlighted: the tab open at the bottom, its shadow, a white caption from L + 7.
    ASSERT_TRUE(HiliteMenuItem(form_->Handle(), menu_->Handle(), 0, MF_BYPOSITION | MF_HILITE));
    Surface open(100, 30);
    DrawBarItem(Item(0), {open.Dc(), bounds, ODA_SELECT, ODS_SELECTED});
    for (int y : {2, 12, 23}) {
        EXPECT_EQ(open.At(20, y), RGB(0, 0, 0)) << y;
        EXPECT_EQ(open.At(72, y), RGB(0, 0, 0)) << y;
    }
    EXPECT_EQ(open.At(50, 2), RGB(0, 0, 0));
    EXPECT_EQ(open.At(21, 23), kAccent) << "no line at the bottom";
    EXPECT_EQ(open.At(71, 23), kAccent);
    EXPECT_EQ(open.At(73, 5), shade30);
    EXPECT_EQ(open.At(77, 20), shade30);
    EXPECT_EQ(open.At(73, 20), shade60);
    EXPECT_EQ(open.At(76, 9), shade30);
    EXPECT_EQ(open.At(74, 8), shade40);
    EXPECT_EQ(open.At(78, 20), kBackground);
    EXPECT_EQ(open.At(79, 3), kBackground);
    int whiteText = 0;
    for (int x = 21; x < 72; ++x) {
        for (int y = 3; y < 24; ++y) {
            whiteText += open.At(x, y) == white;
            EXPECT_FALSE(x < 27 && open.At(x, y) != kAccent) << x << "," << y;
        }
    }
    EXPECT_GT(whiteText, 10);

    // A disabled entry gets no tab; the focus action marks the text rectangle red.
    Surface other(100, 30);
    DrawBarItem(Item(0), {other.Dc(), bounds, ODA_FOCUS, ODS_SELECTED | ODS_DISABLED});
    EXPECT_EQ(other.At(20, 12), kBackground);
    EXPECT_EQ(other.At(39, 3), kBackground);
    EXPECT_EQ(other.At(40, 3), RGB(255, 0, 0));
    EXPECT_EQ(other.At(79, 23), RGB(255, 0, 0));
}

TEST_F(SkinMenuPopup, ColumnGradientTextAndBitmaps) {
    const Rect bounds{0, 0, 200, 22};
    SetItemBitmaps(Item(1), HalfBitmap(RGB(0, 0, 255)), HalfBitmap(RGB(0, 160, 0)));
    Surface plain(200, 22);
    EXPECT_TRUE(DrawPopupItem(Item(1), {plain.Dc(), bounds, ODA_DRAWENTIRE, 0}));
    EXPECT_EQ(plain.At(2, 1), kAccent) << "icon column";
    EXPECT_EQ(plain.At(23, 20), kAccent);
    EXPECT_EQ(plain.At(24, 20), kBackground);
    EXPECT_EQ(plain.At(199, 21), kBackground);
    EXPECT_EQ(plain.At(5, 3), kAccent) << "magenta shows the column";
    EXPECT_EQ(plain.At(13, 3), RGB(0, 0, 255));
    EXPECT_EQ(plain.At(20, 18), RGB(0, 0, 255));
    EXPECT_EQ(plain.At(12, 2), kAccent) << "not raised";
    const auto text = Marked(plain, nullptr, 0, 22, 22);
    EXPECT_GE(text.first, 27) << "black caption, left-aligned from L + 26";
    EXPECT_LE(text.first, 29);

    // Highlighted: the gradient in a black frame, white bold caption right-aligned at R - 5,
    // and the unchecked bitmap raised one pixel up and left.
    SetSystemState(Item(1), MFS_HILITE);
    Surface lit(200, 22);
    DrawPopupItem(Item(1), {lit.Dc(), bounds, ODA_SELECT, ODS_SELECTED});
    Surface gradient(200, 22);
    GradientFill(gradient.Dc(), bounds, RGB(255, 255, 255), kMenuGradientEnd);
    EXPECT_EQ(lit.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(lit.At(199, 21), RGB(0, 0, 0));
    EXPECT_EQ(lit.At(1, 1), gradient.At(1, 1));
    EXPECT_EQ(lit.At(198, 20), gradient.At(198, 20));
    EXPECT_EQ(lit.At(12, 2), RGB(0, 0, 255)) << "raised copy";
    EXPECT_EQ(lit.At(20, 18), RGB(0, 0, 255)) << "and the bitmap where it was";
    const auto litText = Marked(lit, &gradient, 1, 21, 26, 199);
    EXPECT_GT(litText.first, 100);
    EXPECT_GE(litText.second, 185);
    EXPECT_LE(litText.second, 194);

    // An item that opens a submenu leaves 10 pixels for the arrow.
    SetSystemState(Item(5), MFS_HILITE);
    Surface submenu(200, 22);
    DrawPopupItem(Item(5), {submenu.Dc(), bounds, ODA_SELECT, ODS_SELECTED});
    const auto arrowRoom = Marked(submenu, &gradient, 1, 21, 26, 199);
    EXPECT_GE(arrowRoom.second, 175);
    EXPECT_LE(arrowRoom.second, 184);
    // The system's arrow, drawn next in the context's colours, takes the item's.
    EXPECT_EQ(GetTextColor(submenu.Dc()), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(submenu.Dc()), submenu.At(194, 11));
    SetSystemState(Item(5), 0);
    DrawPopupItem(Item(5), {submenu.Dc(), bounds, ODA_SELECT, 0});
    EXPECT_EQ(GetTextColor(submenu.Dc()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(submenu.Dc()), kBackground);

    // Checked: the checked bitmap, never raised.
    Surface checked(200, 22);
    DrawPopupItem(Item(1), {checked.Dc(), bounds, ODA_SELECT, ODS_SELECTED | ODS_CHECKED});
    EXPECT_EQ(checked.At(20, 18), RGB(0, 160, 0));
    EXPECT_EQ(checked.At(12, 2), gradient.At(12, 2));

    // Disabled, even highlighted: no gradient, orange caption, the bitmap in black and white.
    SetSystemState(Item(1), MFS_HILITE | MFS_GRAYED);
    for (UINT state : {UINT{ODS_DISABLED}, UINT{ODS_SELECTED | ODS_DISABLED}}) {
        SCOPED_TRACE(state);
        Surface grey(200, 22);
        DrawPopupItem(Item(1), {grey.Dc(), bounds, ODA_SELECT, state});
        EXPECT_EQ(grey.At(2, 1), kAccent);
        EXPECT_EQ(grey.At(199, 21), kBackground);
        int orange = 0;
        for (int x = 26; x < 200; ++x) {
            for (int y = 0; y < 22; ++y) {
                const COLORREF c = grey.At(x, y);
                EXPECT_TRUE(c == kBackground || (GetRValue(c) == 255 && GetBValue(c) < 94));
                orange += c == kAccent;
            }
        }
        EXPECT_GT(orange, 5);
        for (int x = 5; x < 21; ++x) {
            for (int y = 3; y < 19; ++y) {
                const COLORREF c = grey.At(x, y);
                EXPECT_TRUE(c == kAccent || c == RGB(0, 0, 0)) << x << "," << y;
            }
        }
    }
    // Not highlighted, the caption is the dim accent 0x0088EE.
    SetSystemState(Item(1), MFS_GRAYED);
    Surface dim(200, 22);
    DrawPopupItem(Item(1), {dim.Dc(), bounds, ODA_DRAWENTIRE, ODS_DISABLED});
    EXPECT_GT(dim.Count(RGB(238, 136, 0)), 5);
}

TEST_F(SkinMenuPopup, SeparatorsTitledAndPlain) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    SetItemText(Item(4), "биграммы");
    Surface titled(150, 14);
    DrawPopupItem(Item(4), {titled.Dc(), {0, 0, 150, 14}, ODA_DRAWENTIRE, 0});
    // The etched line starts 8 pixels a character after the title: 26 + 64.
    EXPECT_EQ(titled.At(90, 6), shadow);
    EXPECT_EQ(titled.At(90, 7), light);
    EXPECT_EQ(titled.At(144, 6), shadow);
    EXPECT_EQ(titled.At(145, 6), kBackground);
    EXPECT_EQ(titled.At(89, 6), kBackground);
    // The title is the Russian word in the accent colour, as the W function draws it.
    Surface word(150, 14, kBackground);
    HFONT font = CreateFontW(12, 0, 0, 0, 1, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 4, 0,
                             Widen(DefaultFont().name).c_str());
    HGDIOBJ old = SelectObject(word.Dc(), font);
    SetBkMode(word.Dc(), TRANSPARENT);
    SetTextColor(word.Dc(), kAccent);
    TextOutW(word.Dc(), 26, 1, L"биграммы", 8);
    SelectObject(word.Dc(), old);
    DeleteObject(font);
    const auto title = Marked(titled, &word, 0, 14, 24, 89);
    EXPECT_EQ(title.first, INT_MAX) << "differs at x " << title.first;
    EXPECT_GT(word.Count(kAccent), 10);

    Surface plain(150, 8);
    DrawPopupItem(Item(3), {plain.Dc(), {0, 0, 150, 8}, ODA_DRAWENTIRE, 0});
    EXPECT_EQ(plain.At(23, 3), kAccent) << "beside the icon column";
    EXPECT_EQ(plain.At(25, 3), kBackground);
    EXPECT_EQ(plain.At(26, 3), shadow);
    EXPECT_EQ(plain.At(144, 4), light);
    EXPECT_EQ(plain.At(145, 3), kBackground);
}

// ---- a real popup, read from the screen while it is open ----

struct Probe {
    HWND owner = nullptr;
    HMENU menu = nullptr;
    RECT item{};
    COLORREF column = 0, beside = 0, plainCorner = 0;
    COLORREF frame = 0, lightCorner = 0, darkCorner = 0, disabledColumn = 0;
    int step = 0;
};
Probe probe;

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

void CALLBACK ProbePopup(HWND window, UINT, UINT_PTR timer, DWORD) {
    Probe& p = probe;
    const RECT& r = p.item;
    if (p.step == 0) {
        GetMenuItemRect(nullptr, p.menu, 0, &p.item);
        p.column = ScreenPixel(r.left + 2, r.top + 1);
        p.beside = ScreenPixel(r.left + 25, r.top + 1);
        p.plainCorner = ScreenPixel(r.right - 2, r.bottom - 2);
        RECT disabled{};
        GetMenuItemRect(nullptr, p.menu, 1, &disabled);
        p.disabledColumn = ScreenPixel(disabled.left + 2, disabled.top + 1);
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 1);
    } else {
        KillTimer(window, timer);
        p.frame = ScreenPixel(r.left, r.top);
        p.lightCorner = ScreenPixel(r.left + 1, r.top + 1);
        p.darkCorner = ScreenPixel(r.right - 2, r.bottom - 2);
        EndMenu();
    }
    ++p.step;
}

void CALLBACK GiveUp(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    EndMenu();
}

TEST_F(SkinMenuPopup, OpenPopupAndBarOnScreen) {
    Control* panel = NewPanel(form_, 2);
    panel->SetSize(100, 20);
    const char* const entries[] = {"Открыть...", "Отменить", "-", ""};
    Menu* popup = NewMenu(panel, entries);
    SetItemEnabled(MenuItem(popup, 1), false);
    SkinMenu(popup);
    test::ShowQuietly(form_);
    DrawMenuBar(form_->Handle());
    test::Pump();

    // The bar entry is on the skin colour from its left edge, its caption at L + 20.
    RECT file{};
    ASSERT_TRUE(GetMenuItemRect(form_->Handle(), menu_->Handle(), 0, &file));
    EXPECT_EQ(ScreenPixel(file.left + 1, file.top + 1), kBackground);
    EXPECT_EQ(ScreenPixel(file.left + 19, file.top + 10), kBackground);

    probe = Probe{};
    probe.owner = panel->Handle();
    probe.menu = popup->Handle();
    SetTimer(probe.owner, 1, 150, ProbePopup);
    SetTimer(probe.owner, 2, 4000, GiveUp);
    TrackPopupMenu(popup->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, 200, 200, 0, probe.owner,
                   nullptr);
    KillTimer(probe.owner, 1);
    KillTimer(probe.owner, 2);
    test::Pump();
    ASSERT_EQ(probe.step, 2) << "the popup closed before it was read";
    EXPECT_GT(probe.item.right - probe.item.left, 73);
    EXPECT_EQ(probe.item.bottom - probe.item.top, 22);
    EXPECT_EQ(probe.column, kAccent);
    EXPECT_EQ(probe.beside, kBackground);
    EXPECT_EQ(probe.plainCorner, kBackground);
    EXPECT_EQ(probe.disabledColumn, kAccent);
    EXPECT_EQ(probe.frame, RGB(0, 0, 0)) << "highlighted by the key";
    EXPECT_GE(GetBValue(probe.lightCorner), 240);
    EXPECT_EQ(GetRValue(probe.darkCorner), 255);
    EXPECT_LE(GetGValue(probe.darkCorner), 135);
    EXPECT_LE(GetBValue(probe.darkCorner), 30);
}

TEST_F(SkinMenuLifetime, RepeatedDrawingLeavesTheContextAndCountsAsTheyWere) {
    SetItemBitmaps(Item(1), HalfBitmap(RGB(0, 0, 255)), HalfBitmap(RGB(0, 160, 0)));
    SetItemText(Item(4), "биграммы");
    Surface s(220, 30);
    HDC dc = s.Dc();
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SetBkMode(dc, OPAQUE);
    MoveToEx(dc, 7, 8, nullptr);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    // Counted after a first round of every state: the style's three tools keep their last objects.
    int tools = 0;
    GdiCounts gdi;
    int bitmaps = 0;
    for (int round = 0; round < 44; ++round) {
        if (round == 4) {
            tools = LiveGraphicTools();
            gdi = LiveGdiCounts();
            bitmaps = LiveBitmaps();
        }
        const UINT state = round % 4 == 0   ? 0
                           : round % 4 == 1 ? ODS_SELECTED
                           : round % 4 == 2 ? ODS_SELECTED | ODS_CHECKED
                                            : ODS_DISABLED | ODS_SELECTED;
        SetSystemState(Item(1), round % 2 ? MFS_HILITE : 0);
        for (int i : {1, 2, 3, 4, 6}) {
            DrawPopupItem(Item(i), {dc, {0, 0, 220, 22}, ODA_DRAWENTIRE, state});
        }
        DrawBarItem(Item(0), {dc, {20, 0, 120, 22}, ODA_DRAWENTIRE | ODA_FOCUS, state});
    }
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    POINT at{};
    GetCurrentPositionEx(dc, &at);
    EXPECT_EQ(at.x, 7);
    EXPECT_EQ(at.y, 8);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(LiveGraphicTools(), tools);
    EXPECT_EQ(LiveGdiCounts().objects, gdi.objects);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, gdi.memoryDcs);
    EXPECT_EQ(LiveBitmaps(), bitmaps);
    const HGDIOBJ lastFont = CurrentMenuStyle()->Font()->ToolHandle();
    Free(menu_);
    EXPECT_EQ(GetObjectType(lastFont), 0u) << "the style's font went with it";
}

}  // namespace
}  // namespace zam
