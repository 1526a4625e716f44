// The frequency graph on a real skinned form: what reaches the screen after real paints and
// direct drawing, the axis strips, markers as pointers and buttons, zooming and its reset.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "analysis/graph_window.h"
#include "skin/skin_bitmaps.h"
#include "skin/skinned_form.h"
#include "tests/native/recording_display.h"
#include "tests/windows/analysis_test_support.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using test::Mouse;
using test::OnScreen;
using test::Repaint;
using test::Surface;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(153, 153, 153);
// Words of a few letters: "_" takes 22 percent and leaves the plot at the top.
constexpr const char* kText = "КОТ_СПИТ_НА_ОКНЕ_А_ПЕС_ЛЕЖИТ_У_ДВЕРИ";

class GraphWindowTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        form = NewSkinnedForm(nullptr, "График");
        FrameOf(form)->CloseHides = 1;
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
        int n = 0;
        for (int y = at.y - 2; y <= at.y + 1; ++y) {
            for (int x = at.x - 2; x <= at.x + 1; ++x)
                n += shot.At(x, y) == colour;
        }
        return n;
    }
    static int InRect(const Surface& shot, const Rect& r, COLORREF colour) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += shot.At(x, y) == colour;
        }
        return n;
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
    test::GraphDisplay display;
    AnalysisHost host;
    std::vector<char> typed;
    Control* form = nullptr;
    std::unique_ptr<GraphWindow> graph;
    const Rect client{3, 24, 397, 237};
    const Rect plot{33, 44, 377, 217};
};

TEST_F(GraphWindowTest, ReferenceLineAloneThenTheTextsLineAndMarkerColoursFollowTheLetters) {
    Repaint(form);
    auto shot = OnScreen(form);
    for (int column = 1; column <= kSymbolCount; ++column) {
        const char letter = ColumnSymbol(column);
        EXPECT_GE(Inside(*shot, MarkerAt(MarkerKind::Reference, letter), kRed), 8) << letter;
    }
    EXPECT_EQ(InRect(*shot, client, kGreen), 0);
    EXPECT_EQ(shot->At(plot.left, 100), kWhite);
    EXPECT_EQ(shot->At(plot.left - 1, 100), 0u);
    EXPECT_EQ(shot->At(200, plot.bottom), kWhite);
    EXPECT_EQ(shot->At(200, plot.bottom + 1), 0u);
    EXPECT_GT(InRect(*shot, plot, kGrey), 100);
    EXPECT_GT(InRect(*shot, Rect{client.left, plot.top, plot.left - 10, plot.bottom}, palette[4]),
              20)
        << "percent labels";

    Load(kText);
    shot = OnScreen(form);
    EXPECT_GE(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Е'), kGreen), 8);
    EXPECT_GT(InRect(*shot, plot, kGreen), 300);
    // "_" at 22 percent is cut off at the plot's top.
    EXPECT_EQ(InRect(*shot, Rect{client.left, client.top, client.right, plot.top}, kGreen), 0);

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
}

TEST_F(GraphWindowTest, AxisStripsSortOnceRestoreTheAlphabetAndShowTheHand) {
    Click({10, 100});
    EXPECT_TRUE(IsIdentity(graph->Order())) << "nothing to sort without a text";

    Load(kText);
    Click({10, 100});
    const DisplayOrder sorted = graph->Order();
    EXPECT_EQ(ColumnSymbol(sorted[1]), '_');
    EXPECT_EQ(ColumnSymbol(sorted[2]), 'Е');
    auto shot = OnScreen(form);
    EXPECT_GE(Inside(*shot, MarkerAt(MarkerKind::Cipher, 'Е'), kGreen), 8);
    // A changed text does not re-sort a sorted order.
    testing::LoadCipherText(ws, "ББББ_А");
    Click({10, 150});
    EXPECT_EQ(graph->Order(), sorted);
    Click({200, plot.bottom + 5});
    EXPECT_TRUE(IsIdentity(graph->Order()));

    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), L"CHAND");
    ASSERT_NE(hand, nullptr);
    Mouse(form, WM_MOUSEMOVE, 10, 100);
    EXPECT_EQ(form->Cursor(), hand);
    Mouse(form, WM_MOUSEMOVE, 370, 50);
    EXPECT_EQ(form->Cursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    Mouse(form, WM_MOUSEMOVE, 200, plot.bottom);
    EXPECT_EQ(form->Cursor(), hand);
    Mouse(form, WM_MOUSEMOVE, plot.left - 1, 100);
    EXPECT_NE(form->Cursor(), hand) << "the strip ends a pixel left of the plot";
}

TEST_F(GraphWindowTest, DragZoomsWithoutLeavingTracesAndAnUpLeftDragResets) {
    Load(kText);
    const GraphAxes before = graph->Axes();
    const Point a = before.ToData(250, 100);
    const Point b = before.ToData(100, 180);
    Drag({100, 100}, {250, 180});
    EXPECT_EQ(graph->Axes().horizontal.minimum, b.x);
    EXPECT_EQ(graph->Axes().horizontal.maximum, a.x);
    EXPECT_EQ(graph->Axes().vertical.minimum, b.y);
    EXPECT_EQ(graph->Axes().vertical.maximum, a.y);
    // Erasing by drawing again in black, and the band drawn twice, leave what a paint shows.
    auto drawn = OnScreen(form);
    Repaint(form);
    auto painted = OnScreen(form);
    int differ = 0;
    for (int y = client.top; y < client.bottom; ++y) {
        for (int x = client.left; x < client.right; ++x)
            differ += drawn->At(x, y) != painted->At(x, y);
    }
    EXPECT_EQ(differ, 0);

    const GraphAxes zoomed = graph->Axes();
    Drag({100, 100}, {105, 180});
    Drag({100, 100}, {250, 105});
    EXPECT_EQ(graph->Axes().horizontal.minimum, zoomed.horizontal.minimum);
    EXPECT_EQ(graph->Axes().horizontal.maximum, zoomed.horizontal.maximum);

    // Up and left out of the window: negative coordinates, not 16-bit wrap-around.
    Drag({250, 180}, {-30, -20});
    EXPECT_EQ(graph->Axes().horizontal.minimum, 0);
    EXPECT_EQ(graph->Axes().horizontal.maximum, 3200);
    EXPECT_EQ(graph->Axes().vertical.minimum, 0);
    EXPECT_EQ(graph->Axes().vertical.maximum, 2000);
}

TEST_F(GraphWindowTest, WindowsUnder50By80DrawNothingAndAFlatPlotStillLaysOut) {
    Load(kText);
    const struct {
        int w, h;
        bool drawn;
    } sizes[] = {
        {150, 79, false}, {150, 80, true}, {49, 200, false}, {50, 200, true}, {150, 67, false}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
        form->SetSize(s.w, s.h);
        Repaint(form);
        auto shot = OnScreen(form);
        const Rect inner = FrameClientRect(form);
        const int ink = InRect(*shot, inner, kRed) + InRect(*shot, inner, kWhite) +
                        InRect(*shot, inner, kGreen);
        EXPECT_EQ(ink > 0, s.drawn);
    }
    EXPECT_EQ(graph->Axes().vertical.labelCount, 0);
}

TEST_F(GraphWindowTest, MarkersAreHoveredAndClickedAndTypedLettersGoToTheAlphabet) {
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
}

TEST_F(GraphWindowTest, TheRecordAndItsFormMayEndInEitherOrder) {
    Control* other = NewSkinnedForm(nullptr, "График");
    auto orphan = BuildGraphWindow(other, host);
    test::ShowQuietly(other);
    Free(other);
    EXPECT_EQ(orphan->Form(), nullptr);
    orphan->DrawGraph(false);
    orphan->DrawMarker(MarkerKind::Cipher, 'А');
    orphan->SetDisplayOrder(false);
    orphan.reset();

    // The record goes first: the form paints and takes the pointer without it.
    display.graph = nullptr;
    graph.reset();
    Repaint(form);
    Click({100, 100});
    Mouse(form, WM_MOUSEMOVE, 10, 100);
}

}  // namespace
}  // namespace zam
