// The graph's rubber band on the screen: released anywhere, even past the plot's lower-right
// corner, it leaves no trace; hidden mid-drag, the window forgets it.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "analysis/graph_window.h"
#include "skin/skin_bitmaps.h"
#include "skin/skinned_form.h"
#include "tests/native/recording_display.h"
#include "tests/windows/analysis_test_support.h"
#include "tests/windows/app_fixture.h"

namespace zam {
namespace {

using test::Mouse;
using test::OnScreen;
using test::Repaint;

class GraphBand : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        form = NewSkinnedForm(nullptr, "График");
        form->SetColor(0);
        form->SetPosition(40, 40);
        host.ws = &ws;
        host.display = &display;
        host.palette = &palette;
        graph = BuildGraphWindow(form, host);
        display.graph = graph.get();
        test::ShowQuietly(form);
        testing::LoadCipherText(ws, "КОТ_СПИТ_НА_ОКНЕ");
        Repaint(form);
    }
    void TearDown() override {
        graph.reset();
        Free(form);
        ControlTest::TearDown();
    }
    // Pixels that differ between the screen now and a fresh paint of the whole window.
    int Traces() {
        auto drawn = OnScreen(form);
        Repaint(form);
        auto painted = OnScreen(form);
        int differ = 0;
        const Rect inner = FrameClientRect(form);
        for (int y = inner.top; y < inner.bottom; ++y) {
            for (int x = inner.left; x < inner.right; ++x)
                differ += drawn->At(x, y) != painted->At(x, y);
        }
        return differ;
    }

    FrameSkinModule skin;
    Workspace ws;
    ColourPalette palette;
    test::GraphDisplay display;
    AnalysisHost host;
    Control* form = nullptr;
    std::unique_ptr<GraphWindow> graph;
};

TEST_F(GraphBand, ABandReleasedAnywhereLeavesNoTrace) {
    const GraphAxes before = graph->Axes();
    const struct {
        const char* name;
        Point to;
    } ends[] = {
        {"past the lower-right corner", {390, 232}},  // plot (33, 44)-(377, 217)
        {"out of the window", {600, 500}},
        {"inside, too small to zoom", {103, 103}},
    };
    for (const auto& end : ends) {
        SCOPED_TRACE(end.name);
        Mouse(form, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
        Mouse(form, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
        Mouse(form, WM_MOUSEMOVE, end.to.x, end.to.y, MK_LBUTTON);
        EXPECT_TRUE(graph->BandShown());
        Mouse(form, WM_LBUTTONUP, end.to.x, end.to.y);
        EXPECT_FALSE(graph->BandShown());
        EXPECT_EQ(Traces(), 0);
        EXPECT_EQ(graph->Axes().horizontal.maximum, before.horizontal.maximum);
    }
    // A release that never came: the next move without the button takes the band away.
    Mouse(form, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    Mouse(form, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    Mouse(form, WM_MOUSEMOVE, 210, 160);
    EXPECT_FALSE(graph->BandShown());
    EXPECT_EQ(Traces(), 0);
}

TEST_F(GraphBand, HiddenMidDragTheWindowForgetsTheBand) {
    Mouse(form, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    Mouse(form, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    graph->CancelBand();  // what the window's record does when the form hides
    form->SetVisible(false);
    test::ShowQuietly(form);
    Repaint(form);
    // Moves with the button still down draw nothing, and the release zooms nothing.
    const GraphAxes before = graph->Axes();
    Mouse(form, WM_MOUSEMOVE, 250, 180, MK_LBUTTON);
    Mouse(form, WM_LBUTTONUP, 250, 180);
    EXPECT_EQ(Traces(), 0);
    EXPECT_EQ(graph->Axes().horizontal.minimum, before.horizontal.minimum);
    EXPECT_EQ(GetCapture(), nullptr);
}

class GraphInTheProgram : public test::Zamenor {};

TEST_F(GraphInTheProgram, HidingTheWindowDropsTheBandAndUnchecksItsItem) {
    Start();
    Control* graphForm = app_->GraphWindow->Form;
    ASSERT_TRUE(Checked(kItemGraphWindow));
    Mouse(graphForm, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    Mouse(graphForm, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    ASSERT_TRUE(app_->Graph()->BandShown());
    Choose(kItemGraphWindow);
    EXPECT_FALSE(graphForm->Visible());
    EXPECT_FALSE(Checked(kItemGraphWindow));
    EXPECT_FALSE(app_->Graph()->BandShown());
    EXPECT_NE(GetCapture(), graphForm->WindowHandle());
    Choose(kItemGraphWindow);
    EXPECT_TRUE(Checked(kItemGraphWindow));
}

}  // namespace
}  // namespace zam
