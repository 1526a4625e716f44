// The information card and the about box on real skinned forms, read back from the screen
// after real paints.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/about_window.h"
#include "analysis/info_window.h"
#include "skin/skin_bitmaps.h"
#include "skin/skinned_form.h"
#include "tests/windows/analysis_test_support.h"

namespace zam {
namespace {

using test::Mouse;
using test::OnScreen;
using test::Repaint;
using test::Surface;

// Bounding box of the pixels of this colour inside r; empty when there are none.
Rect Ink(const Surface& shot, const Rect& r, COLORREF colour) {
    Rect box{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (shot.At(x, y) == colour) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

class InfoWindowTest : public test::ControlTest {
    FrameSkinModule skin_;
};

TEST_F(InfoWindowTest, CardCellsStripsAndTextsSitOnTheirEdgesInTheCurrentScheme) {
    ColourPalette palette;
    Control* form = NewSkinnedForm(nullptr, "Информация");
    test::FreeAtExit release(form);
    FrameOf(form)->Sizeable = 0;
    form->SetPosition(40, 40)->SetSize(462, 662);
    BuildInfoWindow(form, &palette);
    test::ShowQuietly(form);
    Repaint(form);
    const Rect c = FrameClientRect(form);
    const int l = c.left;
    const int t = c.top;
    const COLORREF back = form->Color();
    auto shot = OnScreen(form);
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {
        {l + 110, t + 30, palette[1]},  // first doubled-letter cell, top-left corner
        {l + 109, t + 29, palette[3]},  // its strip's background, one pixel outside
        {l + 108, t + 35, back},        // left of the strip
        {l + 197, t + 40, palette[1]},  // third and fourth cells share a line: 110 + 3 * 29
        {l + 226, t + 40, palette[1]},  // the fourth cell's right border
        {l + 227, t + 40, palette[3]},  // strip background after the last cell
        {l + 228, t + 40, back},        // the strip ends at 228
        {l + 401, t + 60, palette[3]},  // bigram strip to 402
        {l + 402, t + 60, back},
        {l + 443, t + 622, palette[1]},  // last table cell,
                                         // bottom-right corner
        {l + 444, t + 622, palette[3]},  // table background to 445
        {l + 445, t + 622, back},
        {l + 9, t + 624, palette[3]},
        {l + 9, t + 625, back},
        {l + 10, t + 142, palette[1]},  // row 1 of column 1 shares its top line with row 0
    };
    for (const auto& p : probes)
        EXPECT_EQ(shot->At(p.x, p.y), p.colour) << p.x - l << ", " << p.y - t;

    // Texts centred in their cells: "ИИ", and "Слева" in the header; the letter cell of the
    // header row is a blank.
    const Rect first = Ink(*shot, Rect{l + 111, t + 31, l + 139, t + 46}, palette[4]);
    EXPECT_LT(first.left, first.right);
    EXPECT_NEAR((first.left + first.right) / 2.0, l + 125, 2.0);
    const Rect left = Ink(*shot, Rect{l + 69, t + 127, l + 217, t + 142}, palette[4]);
    EXPECT_NEAR((left.left + left.right) / 2.0, l + 68 + 75, 2.0);
    const Rect blank = Ink(*shot, Rect{l + 217, t + 127, l + 235, t + 142}, palette[4]);
    EXPECT_GE(blank.left, blank.right);
    EXPECT_LT(Ink(*shot, Rect{l + 10, t + 5, l + 300, t + 24}, palette[6]).left, l + 20)
        << "the heading";

    // The scheme is read at each paint.
    palette.Choose(Scheme::Yellow);
    Repaint(form);
    shot = OnScreen(form);
    EXPECT_EQ(shot->At(l + 109, t + 29), palette[3]);
    EXPECT_EQ(shot->At(l + 444, t + 622), palette[3]);
}

class AboutWindowTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        for (Control*& peer : peers) {
            peer = NewForm(nullptr, "Другое");
            peer->Handle();
        }
        form = NewSkinnedForm(nullptr, "О программе");
        FrameOf(form)->CloseHides = 1;
        FrameOf(form)->Sizeable = 0;
        form->SetPosition(40, 40)->SetSize(290, 160);
        host.shellOpen = [this](std::string_view target) { opened.emplace_back(target); };
        host.modalPeers = [this] { return std::vector<Control*>{peers[0], nullptr, peers[1]}; };
        about = BuildAboutWindow(
            form, host, {"MIT", "Команда Zamenor", "Zamenor, 2026", "https://zamenor.example/"});
        form->SetVisible(false);
    }
    void TearDown() override {
        about.reset();
        Free(form);
        for (Control* peer : peers)
            Free(peer);
        ControlTest::TearDown();
    }
    bool PeersEnabled(bool enabled) const {
        for (Control* peer : peers) {
            if ((IsWindowEnabled(peer->Handle()) != FALSE) != enabled)
                return false;
        }
        return true;
    }
    int Underline(const Surface& shot) const {
        const Rect link = about->LinkRect();
        int n = 0;
        for (int x = link.left; x < link.right; ++x)
            n += shot.At(x, link.top + 14) == RGB(0x33, 0x33, 0xFF);
        return n;
    }

    FrameSkinModule skin;
    Control* peers[2] = {};
    Control* form = nullptr;
    AnalysisHost host;
    std::vector<std::string> opened;
    std::unique_ptr<AboutWindow> about;
};

TEST_F(AboutWindowTest, TheLinkUnderlinesOnEnteringAndClearsOnLeaving) {
    test::ShowQuietly(form);
    const Rect c = FrameClientRect(form);
    const Rect link = about->LinkRect();
    EXPECT_EQ(link.left, c.left + 110);
    EXPECT_EQ(link.bottom, c.top + 96);
    Repaint(form);
    auto shot = OnScreen(form);
    // The address's descenders reach the underline's row.
    const int descenders = Underline(*shot);
    EXPECT_LT(descenders, 20);
    EXPECT_GT(
        Ink(*shot, Rect{c.left + 110, c.top + 80, c.left + 266, c.top + 96}, RGB(0x33, 0x33, 0xFF))
            .right,
        c.left + 200)
        << "the address in link blue";
    EXPECT_LT(Ink(*shot, Rect{c.left + 20, c.top + 10, c.left + 110, c.top + 26}, 0).left,
              c.left + 25)
        << "the labels in black";

    Mouse(form, WM_MOUSEMOVE, link.left, link.top);
    EXPECT_EQ(Underline(*OnScreen(form)), 156);
    // Moving on inside the link draws nothing more: a mark on the line stays.
    HDC dc = GetDC(form->Handle());
    SetPixel(dc, link.left + 50, link.top + 14, RGB(0, 200, 0));
    ReleaseDC(form->Handle(), dc);
    Mouse(form, WM_MOUSEMOVE, link.right - 1, link.bottom - 1);
    EXPECT_EQ(Underline(*OnScreen(form)), 155);

    Mouse(form, WM_MOUSEMOVE, link.right, link.top);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(form->Handle(), &pending, FALSE));
    EXPECT_EQ(pending.top, c.top + 94);
    UpdateWindow(form->Handle());
    EXPECT_EQ(Underline(*OnScreen(form)), descenders);
    EXPECT_TRUE(opened.empty());
}

TEST_F(AboutWindowTest, OtherWindowsAreDisabledWhileItShowsHoweverItIsHidden) {
    EXPECT_TRUE(PeersEnabled(true));
    test::ShowQuietly(form);
    EXPECT_TRUE(PeersEnabled(false));
    const Rect link = about->LinkRect();
    Mouse(form, WM_LBUTTONDOWN, link.left, link.bottom - 1, MK_LBUTTON);
    EXPECT_EQ(opened, std::vector<std::string>{"https://zamenor.example/"});
    EXPECT_TRUE(form->Visible());
    Mouse(form, WM_RBUTTONDOWN, link.left - 1, link.top, MK_RBUTTON);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(PeersEnabled(true));

    test::ShowQuietly(form);
    EXPECT_TRUE(PeersEnabled(false));
    FrameOf(form)->CloseButton->Click();
    test::Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(PeersEnabled(true));
    EXPECT_EQ(opened.size(), 1u);
}

}  // namespace
}  // namespace zam
