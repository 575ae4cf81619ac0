#include <gtest/gtest.h>

#include "graph/DrawFrame.h"
#include "graph/GraphFixtures.h"
#include "graph/MouseInteraction.h"

namespace nuvisca {
namespace {

// A 2000-slot recording in a drawn 1000 x 600 view: 900 slots over 980 points.
class MouseTest : public ::testing::Test {
protected:
    MouseTest() : f(2000) { f.draw(); }

    bool press(double x, double y, bool shift = false, bool control = false) {
        return mouseDown(f.view, *f.store, {x, y}, shift, control);
    }
    bool drag(double x, double y) { return mouseDragged(f.view, *f.store, {x, y}, false, false); }
    bool release() { return mouseUp(f.view, *f.store, {0, 0}, false, false); }

    // Drags in steps of at most 5 points, as the mouse reports them.
    void dragTo(double x, double y) {
        const double fromX = f.view.lastDragX;
        const double fromY = f.view.lastDragY;
        for (int k = 1; k <= 20; ++k) {
            drag(fromX + (x - fromX) * k / 20, fromY + (y - fromY) * k / 20);
        }
    }

    DrawFrame preview() {
        DrawFrame frame = beginDrawFrame(*f.store, f.view);
        previewDrag(*f.store, f.view, frame);
        return frame;
    }

    test::GraphFixture f;
};

TEST_F(MouseTest, LegendClickTogglesAtOnceAndStartsNoPress) {
    EXPECT_TRUE(press(130, 575));
    EXPECT_EQ(f.view.traceShown, (std::array<std::int32_t, 4>{1, 0, 1, 1}));
    EXPECT_TRUE(press(500, 575));  // rSO2
    EXPECT_EQ(f.view.traceShown, (std::array<std::int32_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(f.view.mouseDownInPlot, 0);
    EXPECT_FALSE(release());
    EXPECT_FALSE(press(600, 575));  // right of the last entry
}

TEST_F(MouseTest, ClickInThePlotRedrawsOnlyOnRelease) {
    EXPECT_FALSE(press(500, 300));
    EXPECT_EQ(f.view.mouseDownInPlot, 1);
    EXPECT_TRUE(release());
    EXPECT_EQ(f.view.viewStart, 0);
    EXPECT_EQ(f.view.viewEnd, 900);
}

TEST_F(MouseTest, HorizontalDragPreviewsThenScrollsOnRelease) {
    press(500, 300);
    dragTo(400, 300);
    EXPECT_EQ(f.view.viewStart, 0);  // nothing applied yet
    const DrawFrame shown = preview();
    EXPECT_EQ(shown.start, 91);  // 100 points / 1.0889
    EXPECT_EQ(shown.end, 991);
    EXPECT_TRUE(release());
    EXPECT_EQ(f.view.viewStart, 91);
    EXPECT_EQ(f.view.viewEnd, 991);
}

TEST_F(MouseTest, ScrollStopsAtBothEndsOfTheRecording) {
    press(100, 300);
    dragTo(900, 300);
    release();
    EXPECT_EQ(f.view.viewStart, 0);

    f.view.viewStart = 1000;
    f.view.viewEnd = 1900;
    press(900, 300);
    dragTo(100, 300);
    EXPECT_EQ(preview().start, 1099);  // sampleCount - count - 1
    release();
    EXPECT_EQ(f.view.viewStart, 1099);
    EXPECT_EQ(f.view.viewEnd, 1999);
}

TEST_F(MouseTest, ClickAtTheEndPullsTheRangeBackInside) {
    f.view.viewStart = 1500;
    f.view.viewEnd = 2400;
    press(500, 300);
    release();
    EXPECT_EQ(f.view.viewStart, 1099);
    EXPECT_EQ(f.view.viewEnd, 1999);
}

TEST_F(MouseTest, VerticalDragMovesTheOffsetWithinTheZoomsReach) {
    f.store->zoomIndex = 3;  // reach: 3 plot heights
    press(500, 300);
    dragTo(500, 250);
    EXPECT_EQ(preview().offset, 50);
    EXPECT_EQ(f.view.verticalOffset, 0);
    release();
    EXPECT_EQ(f.view.verticalOffset, 50);
    EXPECT_EQ(f.view.viewStart, 0);

    press(500, 100);
    dragTo(500, 500);  // up: past the bottom of the reach
    release();
    EXPECT_EQ(f.view.verticalOffset, 0);

    f.store->zoomIndex = 1;
    press(500, 300);
    dragTo(500, 100);
    release();
    EXPECT_EQ(f.view.verticalOffset, 0);
}

TEST_F(MouseTest, TurningADragAppliesTheMovementSoFar) {
    f.store->zoomIndex = 2;
    press(500, 300);
    dragTo(400, 300);
    dragTo(400, 260);  // turns vertical: the time scroll is applied now
    EXPECT_EQ(f.view.viewStart, 91);
    EXPECT_EQ(f.view.dragPhase, 1);
    dragTo(300, 262);  // turns back: the vertical movement is applied
    EXPECT_EQ(f.view.dragPhase, 0);
    EXPECT_GT(f.view.verticalOffset, 30.0f);
    release();
    EXPECT_GT(f.view.viewStart, 170);
}

TEST_F(MouseTest, ShiftDragMovesTheEndOfTheRange) {
    press(500, 300, true);
    dragTo(400, 300);
    EXPECT_EQ(preview().end, 991);
    release();
    EXPECT_EQ(f.view.viewStart, 0);
    EXPECT_EQ(f.view.viewEnd, 991);
    EXPECT_EQ(f.view.shiftDrag, 0);

    // Narrowing shows no less than viewSpan in the preview, but the release applies it.
    press(400, 300, true);
    dragTo(500, 300);
    EXPECT_EQ(preview().end, 900);
    release();
    EXPECT_EQ(f.view.viewEnd, 899);
}

TEST_F(MouseTest, ShiftDragToTheRightKeepsAtLeastOneSlot) {
    f.view.viewStart = 500;
    f.view.viewEnd = 600;
    press(15, 300, true);
    dragTo(985, 300);
    release();
    EXPECT_EQ(f.view.viewEnd, 501);
}

TEST_F(MouseTest, ControlDragChangesOnlyTheOffset) {
    f.store->zoomIndex = 2;
    press(500, 300, false, true);
    dragTo(520, 200);
    EXPECT_EQ(preview().start, 0);
    EXPECT_EQ(preview().offset, 100);
    release();
    EXPECT_EQ(f.view.verticalOffset, 100);
    EXPECT_EQ(f.view.controlDrag, 0);
}

TEST_F(MouseTest, ModifiedClickOutsideThePlotLeavesNoMode) {
    press(130, 575, true, true);  // on the legend
    EXPECT_EQ(f.view.shiftDrag, 0);
    EXPECT_EQ(f.view.controlDrag, 0);
    press(500, 300);
    dragTo(400, 300);
    release();
    EXPECT_EQ(f.view.viewStart, 91);
    EXPECT_EQ(f.view.viewEnd, 991);
}

TEST_F(MouseTest, DragOutsideThePlotKeepsTheLastPositionInside) {
    press(500, 300);
    dragTo(400, 300);
    EXPECT_FALSE(drag(995, 300));
    EXPECT_FALSE(drag(400, 560));
    release();
    EXPECT_EQ(f.view.viewStart, 91);
}

TEST_F(MouseTest, WithoutARecordingNoPressStartsButTheLegendWorks) {
    f.store->sampleCount = 0;
    EXPECT_FALSE(press(500, 300, true));
    EXPECT_EQ(f.view.mouseDownInPlot, 0);
    EXPECT_EQ(f.view.shiftDrag, 0);
    EXPECT_TRUE(press(250, 570));
    EXPECT_EQ(f.view.traceShown[kTraceDxhb], 1);
}

TEST_F(MouseTest, PointsAreTakenRelativeToTheViewOrigin) {
    f.view.viewOriginX = 100.0f;
    f.view.viewOriginY = 50.0f;
    EXPECT_TRUE(press(230, 625));
    EXPECT_EQ(f.view.traceShown[kTraceOxhb], 1);
}

}  // namespace
}  // namespace nuvisca
