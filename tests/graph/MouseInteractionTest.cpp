#include <gtest/gtest.h>

#include "graph/DrawFrame.h"
#include "graph/GraphFixtures.h"
#include "graph/MouseInteraction.h"

namespace nuvisca::test {
namespace {

// Start, end and vertical offset, as the view holds them or a preview shows them.
using Shown = std::array<std::int32_t, 3>;

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

    Shown shown() const {
        return {f.view.viewStart, f.view.viewEnd, static_cast<std::int32_t>(f.view.verticalOffset)};
    }

    Shown preview() {
        DrawFrame frame = beginDrawFrame(*f.store, f.view);
        previewDrag(*f.store, f.view, frame);
        return {frame.start, frame.end, frame.offset};
    }

    GraphFixture f;
};

struct DragCase {
    const char* name;
    std::int32_t zoomIndex;  // reach: 0, 1 and 3 plot heights at zoom 1, 2 and 3
    Shown before;
    bool shift;
    bool control;
    PointF from;
    PointF to;
    Shown preview;
    Shown applied;
};

// Scrolls stop at both ends of the recording and offsets at both ends of the reach. A shift
// drag moves the end: the preview shows no less than viewSpan, the release applies it.
// clang-format off
const DragCase kDrags[] = {
    {"Scroll", 1, {0, 900, 0}, false, false, {500, 300}, {400, 300}, {91, 991, 0}, {91, 991, 0}},
    {"ScrollStopsAtTheStart", 1, {0, 900, 0}, false, false, {100, 300}, {900, 300}, {0, 900, 0}, {0, 900, 0}},
    {"ScrollStopsAtTheEnd", 1, {1000, 1900, 0}, false, false, {900, 300}, {100, 300}, {1099, 1999, 0}, {1099, 1999, 0}},
    {"ClickPullsTheRangeInside", 1, {1500, 2400, 0}, false, false, {500, 300}, {500, 300}, {1500, 2400, 0}, {1099, 1999, 0}},
    {"VerticalDrag", 3, {0, 900, 0}, false, false, {500, 300}, {500, 250}, {0, 900, 50}, {0, 900, 50}},
    {"OffsetStopsAtZero", 3, {0, 900, 50}, false, false, {500, 100}, {500, 500}, {0, 900, 0}, {0, 900, 0}},
    {"OffsetStopsAtTheReach", 3, {0, 900, 1500}, false, false, {500, 500}, {500, 100}, {0, 900, 1584}, {0, 900, 1584}},
    {"NoReachAtZoom1", 1, {0, 900, 0}, false, false, {500, 300}, {500, 100}, {0, 900, 0}, {0, 900, 0}},
    {"ShiftDragMovesTheEnd", 1, {0, 900, 0}, true, false, {500, 300}, {400, 300}, {0, 991, 0}, {0, 991, 0}},
    {"ShiftDragNarrows", 1, {0, 991, 0}, true, false, {400, 300}, {500, 300}, {0, 900, 0}, {0, 899, 0}},
    {"ShiftDragKeepsOneSlot", 1, {500, 600, 0}, true, false, {15, 300}, {985, 300}, {500, 1400, 0}, {500, 501, 0}},
    {"ControlDragMovesOnlyTheOffset", 2, {0, 900, 0}, false, true, {500, 300}, {520, 200}, {0, 900, 100}, {0, 900, 100}}};
// clang-format on

TEST_F(MouseTest, DragPreviewsAndTheReleaseApplies) {
    for (const DragCase& c : kDrags) {
        SCOPED_TRACE(c.name);
        f.store->zoomIndex = c.zoomIndex;
        f.view.viewStart = c.before[0];
        f.view.viewEnd = c.before[1];
        f.view.verticalOffset = static_cast<float>(c.before[2]);
        EXPECT_FALSE(press(c.from.x, c.from.y, c.shift, c.control));
        dragTo(c.to.x, c.to.y);
        // Moves outside the plot are ignored.
        EXPECT_FALSE(drag(995, c.to.y));
        EXPECT_FALSE(drag(c.to.x, 560));
        EXPECT_EQ(shown(), c.before) << "nothing applied before the release";
        EXPECT_EQ(preview(), c.preview);
        EXPECT_TRUE(release());
        EXPECT_EQ(shown(), c.applied);
        EXPECT_EQ(f.view.mouseDownInPlot + f.view.shiftDrag + f.view.controlDrag, 0);
    }
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
    EXPECT_NEAR(f.view.verticalOffset, 39.9, 1e-3);  // to the first step of the turn
    release();
    EXPECT_EQ(shown(), (Shown{182, 1082, 39}));
}

TEST_F(MouseTest, LegendClickTogglesAtOnceAndTakesNoPressNorMode) {
    EXPECT_TRUE(press(130, 575, true, true));  // oxHb, modifiers held
    EXPECT_TRUE(press(500, 575));              // rSO2
    EXPECT_EQ(f.view.traceShown, (std::array<std::int32_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(f.view.mouseDownInPlot + f.view.shiftDrag + f.view.controlDrag, 0);
    EXPECT_FALSE(release());
    EXPECT_FALSE(press(600, 575));  // right of the last entry

    // Points are taken relative to the view's origin; without a recording only the legend
    // answers.
    f.view.viewOriginX = 100.0f;
    f.view.viewOriginY = 50.0f;
    f.store->sampleCount = 0;
    EXPECT_TRUE(press(350, 620));
    EXPECT_EQ(f.view.traceShown[kTraceDxhb], 1);
    EXPECT_FALSE(press(600, 350, true));
    EXPECT_EQ(f.view.mouseDownInPlot + f.view.shiftDrag, 0);
}

}  // namespace
}  // namespace nuvisca::test
