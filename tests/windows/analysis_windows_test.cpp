// The analysis windows on real skinned forms, read back from the window after real paints and
// direct drawing: the frequency graph (axis strips, markers as pointers and buttons, the rubber
// band, zooming and its reset, the band in the running program), the information card and the
// about box.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "analysis/about_window.h"
#include "analysis/graph_window.h"
#include "analysis/info_window.h"
#include "skin/skinned_form.h"
#include "tests/native/recording_display.h"
#include "tests/windows/app_fixture.h"
#include "tests/windows/drawing_test.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using test::Pump;
using test::Surface;

// Hands the graph's requests to the graph under test.
class GraphDisplay : public testing::RecordingDisplay {
public:
    using RecordingDisplay::RecordingDisplay;
    void DrawMarker(MarkerKind kind, char letter) override {
        if (graph)
            graph->DrawMarker(kind, letter);
    }
    void DrawGraph(bool erase) override {
        if (graph)
            graph->DrawGraph(erase);
    }
    void InvalidateGraphSurface() override {
        if (graph && graph->Form())
            graph->Form()->Invalidate();
    }
    GraphWindow* graph = nullptr;
};

// What the window shows now, read from its surface.
std::unique_ptr<Surface> OnScreen(Control* form) {
    Pump();
    auto shot = std::make_unique<Surface>(form->Width(), form->Height(), RGB(1, 2, 3));
    HWND window = form->Handle();
    HDC dc = GetDC(window);
    BitBlt(shot->Dc(), 0, 0, form->Width(), form->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

// A real paint of the whole window.
void Repaint(Control* form) {
    InvalidateRect(form->Handle(), nullptr, TRUE);
    UpdateWindow(form->Handle());
    Pump();
}

LRESULT Mouse(Control* form, UINT message, int x, int y, WPARAM keys = 0) {
    return SendMessageW(form->Handle(), message, keys, MAKELPARAM(x, y));
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Words of a few letters: "_" takes 22 percent and leaves the plot at the top.
constexpr const char* kText = "КОТ_СПИТ_НА_ОКНЕ_А_ПЕС_ЛЕЖИТ_У_ДВЕРИ";

class GraphWindowTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        form = NewSkinnedForm(nullptr, "График");
        form->SetSizeLimit(kMinWidth, 150);
        form->SetSizeLimit(kMinHeight, 25);
        form->SetColor(0);
        form->SetPosition(40, 40);
        host.ws = &ws;
        host.display = &display;
        host.palette = &palette;
        host.typeLetter = [this](char letter) { typed.push_back(letter); };
        graph = BuildGraphWindow(form, host);
        display.graph = graph.get();
        test::ShowQuietly(form);
    }
    void TearDown() override {
        graph.reset();
        Free(form);
        ControlTest::TearDown();
    }

    void Load(const char* text) {
        testing::LoadCipherText(ws, text);
        display.InvalidateGraphSurface();
        UpdateWindow(form->Handle());
    }
    Point MarkerAt(MarkerKind kind, char letter) const {
        const int p = DisplayPosition(graph->Order(), letter);
        const int column = SymbolColumn(letter);
        const float share = kind == MarkerKind::Cipher ? ws.TextStats.share[column]
                                                       : ws.KeyTable.referenceFrequencies[column];
        return graph->Axes().ToPixel(p * 100.0, share * 100.0);
    }
    // Pixels of this colour inside the marker's outline: (x - 3, y - 3) to (x + 3, y + 3),
    // right and bottom outside, leaves 4 x 4.
    static int Inside(const Surface& shot, Point at, COLORREF colour) {
        return shot.Count(colour, Rect{at.x - 2, at.y - 2, at.x + 2, at.y + 2});
    }
    // Nonzero when the screen now differs from a fresh paint of the whole window.
    int Traces() {
        const std::vector<COLORREF> drawn = OnScreen(form)->Pixels();
        Repaint(form);
        const std::vector<COLORREF> painted = OnScreen(form)->Pixels();
        return static_cast<int>(drawn.size()) -
               static_cast<int>(std::mismatch(drawn.begin(), drawn.end(), painted.begin()).first -
                                drawn.begin());
    }
    std::array<int, 4> Ranges() const {
        const GraphAxes& a = graph->Axes();
        return {a.horizontal.minimum, a.horizontal.maximum, a.vertical.minimum, a.vertical.maximum};
    }
    void Click(Point p) {
        Mouse(form, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        Mouse(form, WM_LBUTTONUP, p.x, p.y);
    }
    void Drag(Point from, Point to) {
        Mouse(form, WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
        Mouse(form, WM_MOUSEMOVE, to.x, to.y, MK_LBUTTON);
        Mouse(form, WM_LBUTTONUP, to.x, to.y);
    }

    FrameSkinModule skin;
    Workspace ws;
    ColourPalette palette;
    GraphDisplay display{ws};
    AnalysisHost host;
    std::vector<char> typed;
    Control* form = nullptr;
    std::unique_ptr<GraphWindow> graph;
    const Rect client{3, 24, 397, 237};
    const Rect plot{33, 44, 377, 217};
};

TEST_F(GraphWindowTest, ReferenceLineAloneThenTheTextsLineMarkerColoursAndTheSortingStrips) {
    Click({10, 100});
    EXPECT_TRUE(IsIdentity(graph->Order())) << "nothing to sort without a text";
    Repaint(form);
    auto shot = OnScreen(form);
    for (int column = 1; column <= kSymbolCount; ++column)
        EXPECT_GE(Inside(*shot, MarkerAt(MarkerKind::Reference, ColumnSymbol(column)), kRed), 8) << column;
    EXPECT_EQ(shot->Count(kGreen, client), 0);
    EXPECT_EQ(shot->At(plot.left, 100), kWhite);
    EXPECT_EQ(shot->At(200, plot.bottom), kWhite);

    Load(kText);
    shot = OnScreen(form);
    EXPECT_GE(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Е'), kGreen), 8);
    EXPECT_GT(shot->Count(kGreen, plot), 300);
    // "_" at 22 percent is cut off at the plot's top.
    EXPECT_EQ(shot->Count(kGreen, Rect{client.left, client.top, client.right, plot.top}), 0);

    // Markers are redrawn straight on the window as the letters change.
    SetCurrentLetter(ws, display, PointerSource::FreeRow, kNoLetter);
    SetCurrentLetter(ws, display, PointerSource::CipherRow, 'Е');
    SetSelectedLetter(ws, display, 'Т');
    shot = OnScreen(form);
    EXPECT_EQ(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Е'), palette[7]), 16);
    EXPECT_EQ(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Т'), palette[9]), 16);
    SetCurrentLetter(ws, display, PointerSource::FreeRow, 'О');
    shot = OnScreen(form);
    EXPECT_EQ(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Е'), kGreen), 16);
    EXPECT_EQ(Inside(*shot, MarkerAt(MarkerKind::Reference, 'О'), palette[7]), 16);

    // The axis strips sort once and restore the alphabet.
    Click({10, 100});
    const DisplayOrder sorted = graph->Order();
    EXPECT_EQ(ColumnSymbol(sorted[1]), '_');
    EXPECT_EQ(ColumnSymbol(sorted[2]), 'Е');
    EXPECT_GE(Inside(*OnScreen(form), MarkerAt(MarkerKind::Cipher, 'Е'), kGreen), 8);
    // A changed text does not re-sort a sorted order.
    testing::LoadCipherText(ws, "ББББ_А");
    Click({10, 150});
    EXPECT_EQ(graph->Order(), sorted);
    Click({200, plot.bottom + 5});
    EXPECT_TRUE(IsIdentity(graph->Order()));
}

TEST_F(GraphWindowTest, BandsZoomOrResetLeavingNoTraceWhereverTheyAreReleased) {
    Load(kText);
    const std::array<int, 4> whole = Ranges();
    // Released past the plot's lower-right corner, out of the window, or too small to zoom:
    // erasing by drawing again leaves what a paint shows, and nothing zooms. Then a release
    // that never came (the next move without the button takes the band away), and a band
    // cancelled as when the form hides (moves draw nothing and the release zooms nothing).
    for (Point end : {Point{390, 232}, Point{600, 500}, Point{103, 103}, Point{}, Point{-1, 0}}) {
        SCOPED_TRACE(end.x);
        Mouse(form, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
        Mouse(form, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
        if (end.x == 0) {
            Mouse(form, WM_MOUSEMOVE, 210, 160);
        } else if (end.x < 0) {
            graph->CancelBand();
            Repaint(form);
            Mouse(form, WM_MOUSEMOVE, 250, 180, MK_LBUTTON);
            Mouse(form, WM_LBUTTONUP, 250, 180);
            EXPECT_EQ(GetCapture(), nullptr);
        } else {
            Mouse(form, WM_MOUSEMOVE, end.x, end.y, MK_LBUTTON);
            EXPECT_TRUE(graph->BandShown());
            Mouse(form, WM_LBUTTONUP, end.x, end.y);
        }
        EXPECT_FALSE(graph->BandShown());
        EXPECT_EQ(Traces(), 0);
        EXPECT_EQ(Ranges(), whole);
    }
    const Point a = graph->Axes().ToData(100, 180), b = graph->Axes().ToData(250, 100);
    Drag({100, 100}, {250, 180});
    EXPECT_EQ(Ranges(), (std::array{a.x, b.x, a.y, b.y}));
    EXPECT_EQ(Traces(), 0);
    // Up and left out of the window: negative coordinates, not 16-bit wrap-around.
    Drag({250, 180}, {-30, -20});
    EXPECT_EQ(Ranges(), (std::array{0, 3200, 0, 2000}));
}

TEST_F(GraphWindowTest, MarkersAnswerThePointerTypedLettersGoToTheAlphabetAndSmallWindowsDrawNothing) {
    Load(kText);
    const Point cipherE = MarkerAt(MarkerKind::Cipher, 'Е');
    Mouse(form, WM_MOUSEMOVE, cipherE.x + 4, cipherE.y - 5);
    EXPECT_EQ(ws.CurrentLetter, "Е");
    const Point referenceO = MarkerAt(MarkerKind::Reference, 'О');
    Mouse(form, WM_MOUSEMOVE, referenceO.x, referenceO.y);
    EXPECT_EQ(ws.PlainLetter, "О");
    EXPECT_EQ(ws.CurrentLetter, " ");
    Mouse(form, WM_MOUSEMOVE, cipherE.x + 5, cipherE.y);
    EXPECT_EQ(ws.PlainLetter, " ") << "just outside the hit box";

    Click(MarkerAt(MarkerKind::Cipher, 'Т'));
    EXPECT_EQ(ws.SelectedLetter, "Т");
    Click(referenceO);
    EXPECT_EQ(typed, std::vector<char>{'О'});
    Mouse(form, WM_RBUTTONDOWN, 370, 50, MK_RBUTTON);
    EXPECT_EQ(ws.SelectedLetter, " ");
    SendMessageW(form->Handle(), WM_CHAR, L'Ж', 0);
    EXPECT_EQ(typed.back(), 'Ж');

    // Windows under 50 by 80 draw nothing, and a flat plot still lays out.
    const struct {
        int w, h;
        bool drawn;
    } sizes[] = {{150, 79, false}, {150, 80, true}, {49, 200, false}, {50, 200, true}, {150, 67, false}};
    for (const auto& s : sizes) {
        form->SetSize(s.w, s.h);
        Repaint(form);
        auto shot = OnScreen(form);
        const Rect inner = FrameClientRect(form);
        EXPECT_EQ(shot->Count(kRed, inner) + shot->Count(kWhite, inner) > 0, s.drawn)
            << s.w << " x " << s.h;
    }
    EXPECT_EQ(graph->Axes().vertical.labelCount, 0);
}

class GraphInTheProgram : public test::Zamenor {};

TEST_F(GraphInTheProgram, HidingTheWindowDropsTheBand) {
    Start();
    Control* graphForm = app_->GraphWindow->Form;
    Mouse(graphForm, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    Mouse(graphForm, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    ASSERT_TRUE(app_->Graph()->BandShown());
    Choose(kItemGraphWindow);
    EXPECT_FALSE(app_->Graph()->BandShown());
    EXPECT_NE(GetCapture(), graphForm->WindowHandle());
}

class AnalysisCard : public test::ControlTest {
    FrameSkinModule skin_;
};

TEST_F(AnalysisCard, CardCellsStripsAndTextsSitOnTheirEdgesInTheCurrentScheme) {
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
    // Both sides of the edges: the first doubled-letter cell and its strip, and the last table
    // cell and the table's end.
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {
        {110, 30, palette[1]}, {109, 29, palette[3]},  {108, 35, back},
        {443, 622, palette[1]}, {444, 622, palette[3]}, {445, 622, back},
    };
    for (const auto& p : probes)
        EXPECT_EQ(shot->At(l + p.x, t + p.y), p.colour) << p.x << ", " << p.y;
    // Texts centred in their cells: "Слева" in the header inks both halves of its cell alike.
    const int leftHalf = shot->Count(palette[4], {l + 69, t + 127, l + 143, t + 142});
    const int rightHalf = shot->Count(palette[4], {l + 143, t + 127, l + 217, t + 142});
    EXPECT_NEAR(leftHalf, rightHalf, (leftHalf + rightHalf) / 3);

    // The scheme is read at each paint.
    palette.Choose(Scheme::Yellow);
    Repaint(form);
    shot = OnScreen(form);
    EXPECT_EQ(shot->At(l + 444, t + 622), palette[3]);
}

// The other windows' disabling is checked in the running program.
TEST_F(AnalysisCard, TheAboutBoxUnderlinesItsLinkOpensItAndHides) {
    Control* form = NewSkinnedForm(nullptr, "О программе");
    test::FreeAtExit release(form);
    FrameOf(form)->CloseHides = 1;
    FrameOf(form)->Sizeable = 0;
    form->SetPosition(40, 40)->SetSize(290, 160);
    AnalysisHost host;
    std::vector<std::string> opened;
    host.shellOpen = [&opened](std::string_view target) { opened.emplace_back(target); };
    auto about = BuildAboutWindow(
        form, host, {"MIT", "Команда Zamenor", "Zamenor, 2026", "https://zamenor.example/"});
    test::ShowQuietly(form);

    // The underline's row holds only the address's descenders until the pointer enters.
    const Rect c = FrameClientRect(form);
    const Rect link = about->LinkRect();
    EXPECT_EQ(link.bottom, c.top + 96);
    auto underline = [&] {
        return OnScreen(form)->Count(RGB(0x33, 0x33, 0xFF), {link.left, link.top + 14, link.right, link.top + 15});
    };
    Repaint(form);
    const int descenders = underline();
    EXPECT_LT(descenders, 20);
    Mouse(form, WM_MOUSEMOVE, link.right - 1, link.bottom - 1);
    EXPECT_EQ(underline(), 156);
    Mouse(form, WM_MOUSEMOVE, link.right, link.top);
    EXPECT_EQ(underline(), descenders);

    // A click on the link opens it; a right click hides the box.
    Mouse(form, WM_LBUTTONDOWN, link.left, link.bottom - 1, MK_LBUTTON);
    EXPECT_EQ(opened, std::vector<std::string>{"https://zamenor.example/"});
    Mouse(form, WM_RBUTTONDOWN, link.left - 1, link.top, MK_RBUTTON);
    EXPECT_FALSE(form->Visible());
    about.reset();
}

}  // namespace
}  // namespace zam
