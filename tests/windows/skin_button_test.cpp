// Skinned buttons with real windows: the looks of the kinds through a mouse and focus
// sequence, the images they show after real paints, and the bottom label buttons of dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

using test::AsBox;
using test::Box;
using test::FreeAtExit;
using test::Pump;
using test::Surface;

constexpr COLORREF kHostColor = RGB(10, 200, 30);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
const LPARAM kInside = MAKELPARAM(5, 5);

void CountClick(void* clicks, Control*) {
    ++*static_cast<int*>(clicks);
}

class SkinButton : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
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
        ControlTest::TearDown();
    }

    Control* Button(std::string_view name, uint8_t kind, int32_t x = 10, int32_t y = 10) {
        Control* button = NewSkinnedButton(host_, name, x, kind, y);
        Pump();
        return button;
    }
    // Puts the cursor over the button as a press needs it, then presses.
    void Press(Control* button) {
        SetCursorPos(host_->Left() + button->Left() + 8, host_->Top() + button->Top() + 8);
        SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    }

    FrameSkinModule skin_;
    Control* host_ = nullptr;
};

// The button as it shows after its real paints: a look change that does not invalidate it
// stays unseen.
std::unique_ptr<Surface> Shown(Control* control) {
    auto shot = std::make_unique<Surface>(control->Width(), control->Height(), RGB(1, 2, 3));
    HWND window = control->Handle();
    UpdateWindow(window);
    HDC dc = GetDC(window);
    BitBlt(shot->Dc(), 0, 0, control->Width(), control->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

// Pixels of the shot that differ from the resource image drawn at (x, y) over the background
// colour, magenta keyed out; the image is read with plain Win32, not by the code under test.
int Mismatches(const Surface& shot, const wchar_t* name, int x, int y, COLORREF background) {
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    GetObjectW(bitmap.Get(), sizeof info, &info);
    MemoryDC dc(nullptr);
    SelectGuard selected(dc.Get(), bitmap.Get());
    int wrong = 0;
    for (int j = 0; j < shot.Height(); ++j) {
        for (int i = 0; i < shot.Width(); ++i) {
            const bool inside = i >= x && j >= y && i < x + info.bmWidth && j < y + info.bmHeight;
            const COLORREF pixel = inside ? GetPixel(dc.Get(), i - x, j - y) : kMagenta;
            wrong += shot.At(i, j) != (pixel == kMagenta ? background : pixel);
        }
    }
    return wrong;
}

// The image state, whether the image is pushed off its place, and the colour.
struct Look {
    uint8_t state;
    bool pushed;
    COLORREF color;
    bool operator==(const Look&) const = default;
};

Look LookOf(Control* button) {
    const SkinButtonRecord* r = SkinButtonOf(button);
    return Look{r->ImageState, r->ImageX != r->ImageOffsetX, button->Color()};
}

TEST_F(SkinButton, LooksFollowTheMouseAndFocusKindByKind) {
    const Look normal{1, false, kHostColor}, hover{1, false, kSkinHoverColor};
    const Look pressed{1, false, kSkinPressedColor}, lit{2, false, kSkinHoverColor};
    const Look litPressed{2, false, kSkinPressedColor};
    // Sent, not posted, and nothing pumped: the cursor is elsewhere, and the system's leave
    // notification that this brings is not wanted yet.
    const std::pair<UINT, WPARAM> steps[] = {{WM_MOUSEMOVE, 0},
                                             {WM_LBUTTONDOWN, MK_LBUTTON},
                                             {WM_LBUTTONUP, 0},
                                             {WM_MOUSELEAVE, 0},
                                             {WM_KILLFOCUS, 0}};
    const struct {
        uint8_t kind;
        Look after[5];
    } table[] = {
        {0, {lit, litPressed, normal, normal, normal}},
        {2, {hover, pressed, pressed, pressed, normal}},
        {3, {hover, litPressed, hover, normal, normal}},
    };
    for (const auto& e : table) {
        Control* button = Button("btnClose", e.kind);
        for (int i = 0; i < 5; ++i) {
            SendMessageW(button->Handle(), steps[i].first, steps[i].second, kInside);
            EXPECT_TRUE(LookOf(button) == e.after[i]) << int{e.kind} << " step " << i;
        }
        Free(button);
        Pump();
    }
}

TEST_F(SkinButton, ImagesAreDrawnKeyedAndAClickWithItsFocusPushesThem) {
    Control* caption = Button("btnClose", 0);
    Control* toolbar = Button("btnLoad", 2, 60, 10);
    int clicks = 0;
    caption->OnClick = MakeEvent(static_cast<void*>(&clicks), CountClick);
    EXPECT_EQ(Mismatches(*Shown(caption), L"btnClose", 2, 2, kHostColor), 0);
    SendMessageW(caption->Handle(), WM_MOUSEMOVE, 0, kInside);
    EXPECT_EQ(Mismatches(*Shown(caption), L"btnClose_p", 2, 2, kSkinHoverColor), 0);

    Press(caption);
    EXPECT_TRUE(LookOf(caption) == (Look{2, true, kSkinPressedColor}));
    SendMessageW(caption->Handle(), WM_LBUTTONUP, 0, kInside);
    EXPECT_TRUE(LookOf(caption) == (Look{1, false, kHostColor}));
    EXPECT_EQ(clicks, 1);

    // The toolbar kind's image is drawn pushed on the pressed colour.
    Press(toolbar);
    EXPECT_EQ(Mismatches(*Shown(toolbar), L"btnLoad", 2, 2, kSkinPressedColor), 0);
}

TEST_F(SkinButton, BottomLabelButtonsTakeTheHalvesOfTheFormsFoot) {
    Control* form = NewSkinnedForm(nullptr, "Диалог");
    FreeAtExit release(form);
    form->SetPosition(400, 100)->SetSize(270, 130);
    AddBottomButtons(form, {"Да", "Нет"}, true);
    test::ShowQuietly(form);
    Control* yes = FrameOf(form)->BottomButton(0);
    Control* no = FrameOf(form)->BottomButton(1);
    EXPECT_EQ(AsBox(yes->BoundsRect()), (Box{3, 90, 135, 116}));
    EXPECT_EQ(AsBox(no->BoundsRect()), (Box{135, 90, 267, 116}));
    form->SetSize(301, 151);  // an odd width: the right half takes the extra pixel
    EXPECT_EQ(AsBox(no->BoundsRect()), (Box{150, 111, 297, 137}));
}

}  // namespace
}  // namespace zam
