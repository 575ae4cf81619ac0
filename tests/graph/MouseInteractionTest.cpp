#include <gtest/gtest.h>

#include "graph/GraphFixtures.h"
#include "graph/GraphLayout.h"
#include "graph/MouseInteraction.h"

namespace nuvisca::test {
namespace {

// Start, end and vertical offset, as the view holds them or a preview shows them.
using Shown = std::array<std::int32_t, 3>;

// A 2000-slot recording in a drawn 1000 x 600 view: 900 slots over 980 points.
class MouseTest : public ::testing::Test {
protected:
    MouseTest() : f(2000) { f.draw(); }

    bool press(double x, double y, int keys = 0) {  // 1 shift, 2 control
        return mouseDown(f.view, *f.store, {x, y}, (keys & 1) != 0, (keys & 2) != 0);
    }
    bool drag(double x, double y) { return mouseDragged(f.view, *f.store, {x, y}, false, false); }
    bool release() { return mouseUp(f.view, *f.store, {0, 0}, false, false); }

    Shown shown() const {
        return {f.view.viewStart, f.view.viewEnd, static_cast<std::int32_t>(f.view.verticalOffset)};
    }

    GraphFixture f;
};

struct DragCase {
    const char* name;
    std::int32_t zoomIndex;  // reach: 0, 1 and 3 plot heights at zoom 1, 2 and 3
    Shown before;
    int keys;
    PointF from, to;
    Shown preview, applied;
};

// Scrolls stop at both ends of the recording and offsets at both ends of the reach. A shift
// drag moves the end: the preview shows no less than viewSpan, the release applies it.
// clang-format off
const DragCase kDrags[] = {
    {"Scroll", 1, {0, 900, 0}, 0, {500, 300}, {400, 300}, {91, 991, 0}, {91, 991, 0}},
    {"ScrollStopsAtTheStart", 1, {0, 900, 0}, 0, {100, 300}, {900, 300}, {0, 900, 0}, {0, 900, 0}},
    {"ScrollStopsAtTheEnd", 1, {1000, 1900, 0}, 0, {900, 300}, {100, 300}, {1099, 1999, 0}, {1099, 1999, 0}},
    {"ClickPullsTheRangeInside", 1, {1500, 2400, 0}, 0, {500, 300}, {500, 300}, {1500, 2400, 0}, {1099, 1999, 0}},
    {"VerticalDrag", 3, {0, 900, 0}, 0, {500, 300}, {500, 250}, {0, 900, 50}, {0, 900, 50}},
    {"OffsetStopsAtZero", 3, {0, 900, 50}, 0, {500, 100}, {500, 500}, {0, 900, 0}, {0, 900, 0}},
    {"OffsetStopsAtTheReach", 3, {0, 900, 1500}, 0, {500, 500}, {500, 100}, {0, 900, 1584}, {0, 900, 1584}},
    {"ShiftDragMovesTheEnd", 1, {0, 900, 0}, 1, {500, 300}, {400, 300}, {0, 991, 0}, {0, 991, 0}},
    {"ShiftDragNarrows", 1, {0, 991, 0}, 1, {400, 300}, {500, 300}, {0, 900, 0}, {0, 899, 0}},
    {"ShiftDragKeepsOneSlot", 1, {500, 600, 0}, 1, {15, 300}, {985, 300}, {500, 1400, 0}, {500, 501, 0}},
    {"ControlDragMovesOnlyTheOffset", 2, {0, 900, 0}, 2, {500, 300}, {520, 200}, {0, 900, 100}, {0, 900, 100}}};
// clang-format on

TEST_F(MouseTest, DragPreviewsAndTheReleaseApplies) {
    for (const DragCase& c : kDrags) {
        SCOPED_TRACE(c.name);
        f.store->zoomIndex = c.zoomIndex;
        std::tie(f.view.viewStart, f.view.viewEnd) = std::tuple(c.before[0], c.before[1]);
        f.view.verticalOffset = static_cast<float>(c.before[2]);
        EXPECT_FALSE(press(c.from.x, c.from.y, c.keys));
        for (int k = 1; k <= 20; ++k) {  // steps of at most 5 points, as the mouse reports them
            drag(c.from.x + (c.to.x - c.from.x) * k / 20, c.from.y + (c.to.y - c.from.y) * k / 20);
        }
        EXPECT_FALSE(drag(995, c.to.y)) << "outside the plot";
        EXPECT_FALSE(drag(c.to.x, 560)) << "outside the plot";
        EXPECT_EQ(shown(), c.before) << "nothing applied before the release";
        const GraphLayout layout = layoutGraph(*f.store, f.view);
        EXPECT_EQ((Shown{layout.start, layout.end, layout.offset}), c.preview);
        EXPECT_TRUE(release());
        EXPECT_EQ(shown(), c.applied);
        EXPECT_EQ(f.view.mouseDownInPlot + f.view.shiftDrag + f.view.controlDrag, 0);
    }
}

TEST_F(MouseTest, LegendClickTogglesAtOnceAndTakesNoPressNorMode) {
    EXPECT_TRUE(press(130, 575, 3));  // oxHb, modifiers held
    EXPECT_TRUE(press(500, 575));     // rSO2
    EXPECT_EQ(f.view.traceShown, (std::array<bool, 4>{true, false, true, false}));
    EXPECT_FALSE(release()) << "no drag began";
    EXPECT_FALSE(press(600, 575));  // right of the last entry
    // Relative to the view's origin; without a recording only the legend answers.
    f.view.viewOriginX = 100.0f;
    f.view.viewOriginY = 50.0f;
    f.store->sampleCount = 0;
    EXPECT_TRUE(press(350, 620));
    EXPECT_EQ(f.view.traceShown[kDxhb], 1);
    EXPECT_FALSE(press(600, 350, 1));
    EXPECT_EQ(f.view.mouseDownInPlot + f.view.shiftDrag, 0);
}

}  // namespace
}  // namespace nuvisca::test
