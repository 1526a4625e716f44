// Skinned buttons with real windows: sizes and image places of the five kinds, their looks
// through a mouse and focus sequence, the images they draw (highlighted, pressed, pushed,
// magenta keyed out), keys handed to the parent, and the bottom label buttons of dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "tests/windows/window_driver.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

using test::FreeAtExit;
using test::Pump;
using test::Surface;

constexpr COLORREF kHostColor = RGB(10, 200, 30);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

class SkinButton : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        StartFrameSkin();
        // Away from the screen's centre, where message boxes open.
        host_ = NewForm(nullptr, "Кнопки");
        host_->HasBorder(false);
        host_->SetColor(kHostColor);
        host_->SetPosition(20, 600)->SetSize(300, 150);
        test::ShowQuietly(host_);
        SetCursorPos(1000, 20);  // over no button unless a test puts it there
    }
    void TearDown() override {
        Free(host_);
        FinishFrameSkin();
        ControlTest::TearDown();
    }

    Control* Button(std::string_view name, uint8_t kind, int32_t x = 10, int32_t y = 10) {
        Control* button = NewSkinnedButton(host_, name, x, kind, y);
        Pump();
        return button;
    }

    Control* host_ = nullptr;
};

std::unique_ptr<Surface> Print(Control* control) {
    auto shot = std::make_unique<Surface>(control->Width(), control->Height(), RGB(1, 2, 3));
    SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot->Dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    return shot;
}

// A resource bitmap read with plain Win32, so the code under test does not check itself.
class Resource {
public:
    explicit Resource(const wchar_t* name)
        : bitmap_(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0,
                                                  0, LR_CREATEDIBSECTION))),
          dc_(nullptr),
          selected_(dc_.Get(), bitmap_.Get()) {
        BITMAP info{};
        GetObjectW(bitmap_.Get(), sizeof info, &info);
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

private:
    OwnedBitmap bitmap_;
    MemoryDC dc_;
    SelectGuard selected_;
    int width_ = 0;
    int height_ = 0;
};

// Pixels of the shot that differ from the image drawn at (x, y) over the background colour,
// magenta keyed out.
int Mismatches(const Surface& shot, const Resource& image, int x, int y, COLORREF background) {
    int wrong = 0;
    for (int j = 0; j < shot.Height(); ++j) {
        for (int i = 0; i < shot.Width(); ++i) {
            COLORREF expected = background;
            const bool inside = i >= x && j >= y && i < x + image.Width() && j < y + image.Height();
            if (inside && image.At(i - x, j - y) != kMagenta) {
                expected = image.At(i - x, j - y);
            }
            wrong += shot.At(i, j) != expected;
        }
    }
    return wrong;
}

using Box = std::array<int32_t, 4>;

Box AsBox(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

struct Look {
    uint8_t state;
    bool pushed;
    COLORREF color;
};

Look LookOf(Control* button) {
    const SkinButtonRecord* r = SkinButtonOf(button);
    return Look{r->ImageState, r->ImageX != r->ImageOffsetX, button->Color()};
}

void ExpectLook(Control* button, const Look& expected, const char* step) {
    const Look look = LookOf(button);
    EXPECT_EQ(look.state, expected.state) << step;
    EXPECT_EQ(look.pushed, expected.pushed) << step;
    EXPECT_EQ(look.color, expected.color) << step;
}

LPARAM Inside() {
    return MAKELPARAM(5, 5);
}

TEST_F(SkinButton, EachKindHasItsSizeImagesAndImagePlace) {
    Control* caption = Button("btnClose", 0);
    const SkinButtonRecord* r = SkinButtonOf(caption);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(caption->Width(), 17);
    EXPECT_EQ(caption->Height(), 17);
    EXPECT_EQ(r->ImageOffsetX, 2);
    EXPECT_EQ(r->ImageOffsetY, 2);
    EXPECT_FALSE(caption->TabStop);
    EXPECT_EQ(caption->Color(), kHostColor) << "the parent's colour";
    EXPECT_EQ(SkinButtonOf(Button("btnRestore", 0))->CaptionIndex, kCaptionRestore);

    Control* free = Button("btnClose", 1, 30, 40);
    EXPECT_EQ(free->Width(), 64) << "kind 1 keeps its size";
    EXPECT_EQ(SkinButtonOf(free)->ImageOffsetX, 32 - 6);
    EXPECT_EQ(SkinButtonOf(free)->PressedImage->Width(), 13) << "a copy of the image";

    Control* toolbar = Button("btnLoad", 2, 100, 5);
    EXPECT_EQ(AsBox(toolbar->BoundsRect()), (Box{100, 5, 126, 31}));
    EXPECT_EQ(SkinButtonOf(toolbar)->ImageOffsetX, 0);
    EXPECT_EQ(SkinButtonOf(toolbar)->PressedImage->Width(), 26);

    EXPECT_EQ(SkinButtonOf(Button("btnClose", 3))->PressedImage->Width(), 13) << "btnClose_p";
    // Missing images leave empty bitmaps that draw nothing.
    EXPECT_TRUE(SkinButtonOf(Button("btnLoad", 4))->PressedImage->Empty());
    EXPECT_EQ(SkinButtonOf(Button("noSuchImage", 2))->ImageOffsetX, 13);
    EXPECT_EQ(SkinButtonOf(Button("noSuchCaption", 0))->CaptionIndex, 0xFF);
    EXPECT_EQ(NewSkinnedButton(nullptr, "btnLoad", 0, 2, 0), nullptr);
}

TEST_F(SkinButton, LooksFollowTheMouseAndFocusKindByKind) {
    const Look normal{1, false, kHostColor};
    const Look hover{1, false, kSkinHoverColor};
    const Look pressed{1, false, kSkinPressedColor};
    struct Expected {
        uint8_t kind;
        Look afterMove, afterDown, afterMoveDown, afterUp, afterLeave, afterKill;
    };
    const Look lit{2, false, kSkinHoverColor};
    const Look litPressed{2, false, kSkinPressedColor};
    const Expected table[] = {
        {0, lit, litPressed, litPressed, normal, normal, normal},
        {1, hover, pressed, pressed, pressed, pressed, normal},
        {2, hover, pressed, pressed, pressed, pressed, normal},
        {3, hover, litPressed, litPressed, hover, normal, normal},
        {4, hover, litPressed, litPressed, litPressed, litPressed, normal},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.kind);
        Control* button = Button("btnClose", e.kind);
        HWND window = button->Handle();
        ExpectLook(button, normal, "created");
        // Sent, not posted, and nothing pumped: the cursor is elsewhere, and the system's
        // leave notification that this brings is not wanted yet.
        SendMessageW(window, WM_MOUSEMOVE, 0, Inside());
        ExpectLook(button, e.afterMove, "move");
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Inside());
        ExpectLook(button, e.afterDown, "press");
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, Inside());
        ExpectLook(button, e.afterMoveDown, "move while pressed");
        SendMessageW(window, WM_LBUTTONUP, 0, Inside());
        ExpectLook(button, e.afterUp, "release");
        SendMessageW(window, WM_MOUSELEAVE, 0, 0);
        ExpectLook(button, e.afterLeave, "leave");
        SendMessageW(window, WM_KILLFOCUS, 0, 0);
        ExpectLook(button, e.afterKill, "focus lost");
        Free(button);
        Pump();
    }
}

TEST_F(SkinButton, AFocusThatComesWithAClickPushesTheImage) {
    Control* caption = Button("btnMax", 0, 10, 10);
    Control* toolbar = Button("btnLoad", 2, 60, 10);
    Control* own = Button("btnClose", 3, 110, 10);
    int clicks = 0;
    caption->OnClick = MakeEvent(
        static_cast<void*>(&clicks), +[](void* count, Control*) { ++*static_cast<int*>(count); });

    SetCursorPos(host_->Left() + 18, host_->Top() + 18);
    SendMessageW(caption->Handle(), WM_MOUSEMOVE, 0, Inside());
    SendMessageW(caption->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    ASSERT_EQ(GetFocus(), caption->Handle());
    ExpectLook(caption, Look{2, true, kSkinPressedColor}, "caption pressed");
    EXPECT_EQ(SkinButtonOf(caption)->ImageX, 4);
    EXPECT_EQ(SkinButtonOf(caption)->ImageY, 4);
    SendMessageW(caption->Handle(), WM_LBUTTONUP, 0, Inside());
    ExpectLook(caption, Look{1, false, kHostColor}, "caption released");
    EXPECT_EQ(clicks, 1);

    SetCursorPos(host_->Left() + 70, host_->Top() + 20);
    SendMessageW(toolbar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    ExpectLook(toolbar, Look{1, true, kSkinPressedColor}, "toolbar pressed");
    SendMessageW(toolbar->Handle(), WM_LBUTTONUP, 0, Inside());
    ExpectLook(toolbar, Look{1, true, kSkinPressedColor}, "stays down until the focus goes");
    SetFocus(nullptr);
    ExpectLook(toolbar, Look{1, false, kHostColor}, "focus gone");

    SetCursorPos(host_->Left() + 120, host_->Top() + 20);
    SendMessageW(own->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    ExpectLook(own, Look{2, false, kSkinPressedColor}, "a pressed image, not a pushed one");
    SendMessageW(own->Handle(), WM_LBUTTONUP, 0, Inside());

    // Kind 1 comes back up when the focus goes, as the toolbar kind does.
    Control* free = Button("btnClose", 1, 150, 10);
    SetCursorPos(host_->Left() + 180, host_->Top() + 40);
    SendMessageW(free->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    SendMessageW(free->Handle(), WM_LBUTTONUP, 0, Inside());
    ExpectLook(free, Look{1, true, kSkinPressedColor}, "kind 1 down");
    SetFocus(nullptr);
    ExpectLook(free, Look{1, false, kHostColor}, "kind 1 focus gone");

    // The keyboard's focus alone shows no press.
    SetCursorPos(1000, 20);
    SetFocus(toolbar->Handle());
    ExpectLook(toolbar, Look{1, false, kHostColor}, "keyboard focus");
    SetFocus(nullptr);
}

TEST_F(SkinButton, ImagesAreDrawnKeyedOnTheButtonsColour) {
    Control* caption = Button("btnClose", 0);
    EXPECT_EQ(Mismatches(*Print(caption), Resource(L"btnClose"), 2, 2, kHostColor), 0);
    SendMessageW(caption->Handle(), WM_MOUSEMOVE, 0, Inside());
    auto lit = Print(caption);
    EXPECT_EQ(Mismatches(*lit, Resource(L"btnClose_p"), 2, 2, kSkinHoverColor), 0);
    EXPECT_EQ(lit->At(2, 2), kSkinHoverColor) << "the image's magenta corner";

    Control* own = Button("btnClose", 3, 40, 10);
    SendMessageW(own->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    EXPECT_EQ(Mismatches(*Print(own), Resource(L"btnClose_p"), 7, 7, kSkinPressedColor), 0);
    SendMessageW(own->Handle(), WM_LBUTTONUP, 0, Inside());
    EXPECT_EQ(Mismatches(*Print(own), Resource(L"btnClose"), 7, 7, kSkinHoverColor), 0);

    Control* toolbar = Button("btnLoad", 2, 80, 10);
    EXPECT_EQ(Mismatches(*Print(toolbar), Resource(L"btnLoad"), 0, 0, kHostColor), 0);
    SetCursorPos(host_->Left() + 90, host_->Top() + 20);
    SendMessageW(toolbar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    EXPECT_EQ(Mismatches(*Print(toolbar), Resource(L"btnLoad"), 2, 2, kSkinPressedColor), 0);
    SetCursorPos(1000, 20);
    SetFocus(nullptr);

    // State 0 draws nothing and stays 0.
    Control* blank = Button("btnClose", 0, 120, 10);
    SkinButtonOf(blank)->ImageState = 0;
    SendMessageW(blank->Handle(), WM_MOUSEMOVE, 0, Inside());
    EXPECT_EQ(SkinButtonOf(blank)->ImageState, 0);
    auto empty = Print(blank);
    EXPECT_EQ(empty->Count(kSkinHoverColor), 17 * 17);
}

TEST_F(SkinButton, KeysReachTheParentAndAnUnknownKindReportsAnError) {
    static std::vector<UINT> received;
    received.clear();
    host_->AttachMessageHandler(+[](Control*, Message& m) {
        if (m.Msg >= WM_KEYDOWN && m.Msg <= WM_SYSDEADCHAR) {
            received.push_back(m.Msg);
        }
        return false;
    });
    Control* toolbar = Button("btnLoad", 2);
    SendMessageW(toolbar->Handle(), WM_KEYDOWN, 'Q', 0);
    SendMessageW(toolbar->Handle(), WM_CHAR, L'Й', 0);
    SendMessageW(toolbar->Handle(), WM_KEYUP, 'Q', 0);
    // Dispatched untranslated: a translated key-down would add a character of its own.
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(received, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));

    std::wstring text;
    test::WindowDriver driver(
        {test::Inspecting([&text](HWND box) { text = test::ItemText(box, 0xFFFF); },
                          [](HWND box) { test::PressButton(box, IDOK); })});
    Control* odd = NewSkinnedButton(host_, "btnLoad", 200, 7, 10);
    Pump();
    UpdateWindow(odd->Handle());
    EXPECT_EQ(driver.Handled(), 1);
    EXPECT_EQ(text, L"error");
    EXPECT_TRUE(driver.Unexpected().empty());
    Free(odd);
}

class SkinButtonBottom : public SkinButton {};

TEST_F(SkinButtonBottom, LabelButtonsTakeTheMiddleOrTheHalvesOfTheFormsFoot) {
    Control* form = NewSkinnedForm(nullptr, "Диалог");
    FreeAtExit release(form);
    form->SetPosition(400, 100)->SetSize(270, 130);
    AddBottomButtons(form, {"Да", "Нет"}, true);
    FrameRecord* f = FrameOf(form);
    ASSERT_EQ(f->BottomButtons->Count, 2);
    Control* yes = f->BottomButtons->At<Control>(0);
    Control* no = f->BottomButtons->At<Control>(1);
    auto box = [](Control* c) { return AsBox(c->BoundsRect()); };
    // Laid out at once, then on every size.
    EXPECT_EQ(box(yes), (Box{3, 90, 135, 116}));
    test::ShowQuietly(form);
    EXPECT_EQ(box(yes), (Box{3, 90, 135, 116}));
    EXPECT_EQ(box(no), (Box{135, 90, 267, 116}));
    EXPECT_EQ(BottomButtonOf(yes)->Label, "Да");
    EXPECT_EQ(BottomButtonOf(no)->Placement, kBottomRightHalf);
    EXPECT_EQ(yes->Color(), kBottomButtonColor);

    // The label is centred by its extent in the button's font.
    MemoryDC measure(nullptr);
    SelectGuard font(measure.Get(), yes->Canvas()->Font()->FontHandle());
    SIZE extent{};
    GetTextExtentPoint32W(measure.Get(), L"Да", 2, &extent);
    EXPECT_EQ(BottomButtonOf(yes)->TextX, 66 - extent.cx / 2);
    EXPECT_EQ(BottomButtonOf(yes)->TextY, 13 - extent.cy / 2);

    form->SetSize(301, 151);
    EXPECT_EQ(box(yes), (Box{3, 111, 150, 137}));
    EXPECT_EQ(box(no), (Box{150, 111, 297, 137}));
    f->HasFrame = 0;
    form->SetSize(270, 130);
    EXPECT_EQ(box(yes), (Box{0, 90, 135, 116}));
    EXPECT_EQ(box(no), (Box{135, 90, 270, 116}));

    Control* single = NewSkinnedForm(nullptr, "Сообщение");
    FreeAtExit releaseSingle(single);
    single->SetSize(270, 130);
    AddBottomButtons(single, {"Закрыть", "не нужна"}, false);
    ASSERT_EQ(FrameOf(single)->BottomButtons->Count, 1);
    Control* close = FrameOf(single)->BottomButtons->At<Control>(0);
    EXPECT_EQ(box(close), (Box{67, 90, 202, 116}));
    EXPECT_EQ(BottomButtonOf(close)->Placement, kBottomCentred);

    AddBottomButtons(single, {std::string(300, 'a'), ""}, false);
    EXPECT_EQ(BottomButtonOf(FrameOf(single)->BottomButtons->At<Control>(1))->Label.size(), 255u);
}

// The box around the pixels that are not the background.
std::array<int, 4> InkBox(const Surface& shot, COLORREF background) {
    std::array<int, 4> box{shot.Width(), shot.Height(), -1, -1};
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.At(x, y) != background) {
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                       std::max(box[3], y)};
            }
        }
    }
    return box;
}

TEST_F(SkinButtonBottom, ColoursFollowTheMouseTheClickArrivesAndThePressedLabelShifts) {
    Control* form = NewSkinnedForm(nullptr, "Диалог");
    FreeAtExit release(form);
    form->SetPosition(400, 100)->SetSize(270, 130);
    AddBottomButtons(form, {"Выделить", ""}, false);
    test::ShowQuietly(form);
    Control* button = FrameOf(form)->BottomButtons->At<Control>(0);
    int clicks = 0;
    button->OnClick = MakeEvent(
        static_cast<void*>(&clicks), +[](void* count, Control*) { ++*static_cast<int*>(count); });
    HWND window = button->Handle();

    const auto normalInk = InkBox(*Print(button), kBottomButtonColor);
    ASSERT_GE(normalInk[2], normalInk[0]) << "the label is drawn";
    SendMessageW(window, WM_MOUSEMOVE, 0, Inside());
    EXPECT_EQ(button->Color(), kSkinHoverColor);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Inside());
    EXPECT_EQ(button->Color(), kSkinPressedColor);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, Inside());
    EXPECT_EQ(button->Color(), kSkinPressedColor);
    const auto pressedInk = InkBox(*Print(button), kSkinPressedColor);
    EXPECT_EQ(pressedInk, (std::array<int, 4>{normalInk[0] + 2, normalInk[1] + 2, normalInk[2] + 2,
                                              normalInk[3] + 2}));
    SendMessageW(window, WM_LBUTTONUP, 0, Inside());
    EXPECT_EQ(button->Color(), kSkinHoverColor);
    EXPECT_EQ(clicks, 1);
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->Color(), kBottomButtonColor);
    SendMessageW(window, WM_MOUSEMOVE, 0, Inside());
    SendMessageW(window, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(button->Color(), kBottomButtonColor);
    SetFocus(nullptr);
}

}  // namespace
}  // namespace zam
