#include <gtest/gtest.h>

#include "graph/DragRule.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphLayout.h"
#include "graph/MouseInteraction.h"

namespace nuvisca::test {
namespace {

// Start, end and vertical offset, as the view holds them or a preview shows them.
using Shown = std::array<std::int32_t, 3>;

struct DragCase {
    const char* name;
    std::int32_t zoomIndex;  // reach: 0, 1 and 3 plot heights at zoom 1, 2 and 3
    Shown before;
    int keys;
    std::vector<PointF> path;  // the press, then each corner the mouse turns at
    Shown preview, applied;
};

// A 2000-slot recording (spanning 2100) in a 1000 x 600 view: 900 slots over 980 points.
class MouseTest : public ::testing::Test {
protected:
    MouseTest() : f(2000) { f.store->spanSamples = 2100; }

    bool press(double x, double y, int keys = 0) {  // 1 shift, 2 control, 4 alt
        return mouseDown(f.view, f.model, {x, y}, (keys & 1) != 0, (keys & 2) != 0,
                         (keys & 4) != 0);
    }
    bool drag(double x, double y) { return mouseDragged(f.view, f.model, {x, y}, false, false); }
    bool release() { return mouseUp(f.view, f.model, {0, 0}, false, false); }

    void run(const DragCase& c);

    Shown shown() const {
        return {f.view.viewStart, f.view.viewEnd, static_cast<std::int32_t>(f.view.verticalOffset)};
    }

    GraphFixture f;
};

// Scrolls stop at both ends of the recording and offsets at both ends of the reach. A shift
// drag moves the end, leaving viewSpan slots or the rest of the recording at the least. A
// plain drag that turns vertical applies its scroll then, held within the span, not the count.
// clang-format off
const DragCase kDrags[] = {
    {"Scroll", 1, {0, 900, 0}, 0, {{500, 300}, {400, 300}}, {91, 991, 0}, {91, 991, 0}},
    {"ScrollStopsAtTheStart", 1, {0, 900, 0}, 0, {{100, 300}, {900, 300}}, {0, 900, 0}, {0, 900, 0}},
    {"ScrollStopsAtTheEnd", 1, {1000, 1900, 0}, 0, {{900, 300}, {100, 300}}, {1099, 1999, 0}, {1099, 1999, 0}},
    {"ClickPullsTheRangeInside", 1, {1500, 2400, 0}, 0, {{500, 300}}, {1500, 2400, 0}, {1099, 1999, 0}},
    {"VerticalDrag", 3, {0, 900, 0}, 0, {{500, 300}, {500, 250}}, {0, 900, 50}, {0, 900, 50}},
    {"ScrollThenVertical", 3, {0, 900, 0}, 0, {{500, 300}, {400, 300}, {400, 250}}, {91, 991, 50}, {91, 991, 50}},
    {"ScrollThenVerticalAtTheEnd", 3, {1000, 1900, 0}, 0, {{900, 300}, {500, 300}, {500, 350}}, {1199, 2099, 0}, {1199, 2099, 0}},
    {"OffsetStopsAtZero", 3, {0, 900, 50}, 0, {{500, 100}, {500, 500}}, {0, 900, 0}, {0, 900, 0}},
    {"OffsetStopsAtTheReach", 3, {0, 900, 1500}, 0, {{500, 500}, {500, 100}}, {0, 900, 1584}, {0, 900, 1584}},
    {"ShiftDragMovesTheEnd", 1, {0, 900, 0}, 1, {{500, 300}, {400, 300}}, {0, 991, 0}, {0, 991, 0}},
    {"ShiftDragNarrows", 1, {0, 991, 0}, 1, {{400, 300}, {500, 300}}, {0, 900, 0}, {0, 900, 0}},
    {"ShiftDragKeepsViewSpan", 1, {500, 600, 0}, 1, {{15, 300}, {985, 300}}, {500, 1400, 0}, {500, 1400, 0}},
    {"ShiftDragKeepsTheRestOfTheRecording", 1, {1500, 1800, 0}, 1, {{300, 300}, {400, 300}}, {1500, 2400, 0}, {1500, 2000, 0}},
    {"ControlDragMovesOnlyTheOffset", 2, {0, 900, 0}, 2, {{500, 300}, {520, 200}}, {0, 900, 100}, {0, 900, 100}}};
// clang-format on

// Each drag from its own press, then on past the plot's right and upper edges.
void MouseTest::run(const DragCase& c) {
    SCOPED_TRACE(c.name);
    f.model.setZoomIndex(c.zoomIndex);
    std::tie(f.view.viewStart, f.view.viewEnd) = std::tuple(c.before[0], c.before[1]);
    f.view.verticalOffset = static_cast<float>(c.before[2]);
    EXPECT_FALSE(press(c.path[0].x, c.path[0].y, c.keys));
    const bool turns = c.path.size() > 2;
    for (std::size_t leg = 1; leg < c.path.size(); ++leg) {
        const PointF a = c.path[leg - 1];
        const PointF b = c.path[leg];
        for (int k = 1; k <= 20; ++k) {  // in steps, as the mouse reports
            drag(a.x + (b.x - a.x) * k / 20, a.y + (b.y - a.y) * k / 20);
        }
    }
    EXPECT_FALSE(drag(f.view.viewWidth - 5.0, c.path.back().y)) << "outside the plot";
    EXPECT_FALSE(drag(c.path.back().x, 560)) << "outside the plot";
    EXPECT_EQ(shown() == c.before, !turns) << "only a turn applies before the release";
    const GraphLayout layout = layoutGraph(f.model, f.view);
    EXPECT_EQ((Shown{layout.start, layout.end, layout.offset}), c.preview);
    EXPECT_TRUE(release());
    EXPECT_EQ(shown(), c.applied);
    EXPECT_FALSE(f.view.mouseDownInPlot || f.view.shiftDrag || f.view.controlDrag);
}

TEST_F(MouseTest, DragPreviewsAndTheReleaseApplies) {
    for (const DragCase& c : kDrags) {
        run(c);
    }
}

// A range of 10800 slots drawn over a plot of 1800 points (2 points a slot at the base scale):
// every point dragged moves it by 6 slots, 900 points by half the range.
// clang-format off
const DragCase kWidenedDrags[] = {
    {"Scroll", 1, {0, 10800, 0}, 0, {{1410, 300}, {510, 300}}, {5400, 16200, 0}, {5400, 16200, 0}},
    {"ScrollBack", 1, {9000, 19800, 0}, 0, {{510, 300}, {960, 300}}, {6300, 17100, 0}, {6300, 17100, 0}},
    {"ScrollThenVertical", 3, {0, 10800, 0}, 0, {{1410, 300}, {960, 300}, {960, 250}}, {2700, 13500, 50}, {2700, 13500, 50}},
    {"ShiftDragWidens", 1, {0, 10800, 0}, 1, {{1410, 300}, {510, 300}}, {0, 16200, 0}, {0, 16200, 0}},
    {"ShiftDragNarrows", 1, {0, 10800, 0}, 1, {{510, 300}, {960, 300}}, {0, 8100, 0}, {0, 8100, 0}}};
// clang-format on

TEST_F(MouseTest, DragsFollowTheMouseAtAWidenedRange) {
    std::tie(f.store->sampleCount, f.store->spanSamples) = std::tuple(20000, 20000);
    settleView(f.view, 1, {1820, 600});
    for (const DragCase& c : kWidenedDrags) {
        run(c);
    }
}

TEST_F(MouseTest, AResizedViewFillsItsWidthAsClicksWould) {
    // Filling from the start is the widened widget's case.
    settleView(f.view, 1, {1000, 600});  // loaded at 500 points (480 slots): viewSpan now 900
    for (const auto& [before, pressed, after] :
         {std::tuple(VisibleRange{1500, 1980}, false, VisibleRange{1099, 1999}),
          std::tuple(VisibleRange{0, 480}, true, VisibleRange{0, 480})}) {
        std::tie(f.view.viewStart, f.view.viewEnd, f.view.mouseDownInPlot) =
            std::tuple(before.start, before.end, pressed);
        EXPECT_EQ(rangeAfterResize(f.view, *f.store), after) << before.start << ", " << pressed;
    }
}

TEST_F(MouseTest, LegendBoxesTakeTheirLeftAndLowerEdgeAndThePlotNotItsLeftMargin) {
    // The oxHb box spans 120 .. 228 across and 566 .. 590 up; modifiers take no mode there.
    for (const auto& [x, y, hit] :
         {std::tuple(120.0, 566.0, true), std::tuple(227.9, 589.9, true),
          std::tuple(119.9, 570.0, false), std::tuple(228.0, 570.0, false),
          std::tuple(130.0, 565.9, false), std::tuple(130.0, 590.0, false),
          std::tuple(130.0, 575.0, true), std::tuple(500.0, 575.0, true)}) {
        EXPECT_EQ(press(x, y, 3), hit) << x << ", " << y;
    }
    EXPECT_EQ(f.view.traceShown, (ChannelFlags{true, false, true, false}));
    EXPECT_FALSE(release()) << "no drag began";
    EXPECT_FALSE(press(10, 300)) << "on the frame's margin: no press";
    EXPECT_FALSE(f.view.mouseDownInPlot);
    press(10.5, 300);
    EXPECT_TRUE(f.view.mouseDownInPlot);
    release();
    // Relative to the view's origin; without a recording only the legend answers.
    f.view.viewOriginX = 100.0f;
    f.view.viewOriginY = 50.0f;
    f.store->sampleCount = 0;
    EXPECT_TRUE(press(350, 620));
    EXPECT_EQ(f.view.traceShown[kDxhb], true);
    EXPECT_FALSE(press(600, 350, 1));
    EXPECT_FALSE(f.view.mouseDownInPlot || f.view.shiftDrag);
}

// An Alt drag selects the slots between the press and the release, held in the plot, and
// moves nothing; an Alt click clears the selection; a plain drag still scrolls.
TEST_F(MouseTest, AltDragSelectsAndPlainDragsStillScroll) {
    Heard heard(f.model);
    EXPECT_TRUE(press(500, 300, 4));
    drag(300, 300);
    drag(300, 100);  // up and down changes nothing
    EXPECT_TRUE(mouseUp(f.view, f.model, {-40, 120}, false, false, true));
    f.model.commitView();
    EXPECT_EQ(f.model.selection(), (SlotSpan{0, 450})) << "980 points for 900 slots";
    EXPECT_EQ(shown(), (Shown{0, 900, 0}));
    EXPECT_EQ(heard.take(), std::vector<unsigned>{kSelectionChanged});
    EXPECT_FALSE(f.view.mouseDownInPlot || f.view.selecting);

    f.view.viewStart = 1000;
    f.view.viewEnd = 1900;
    press(400, 300, 4);
    mouseUp(f.view, f.model, {600, 300}, false, false, false);
    EXPECT_EQ(f.model.selection(), (SlotSpan{1358, 1542}));
    press(700, 300, 4);
    mouseUp(f.view, f.model, {700, 300}, false, false, false);
    EXPECT_TRUE(f.model.selection().empty());

    press(500, 300, 4);
    mouseUp(f.view, f.model, {520, 300}, false, false, false);
    press(500, 300);
    drag(400, 300);
    release();
    EXPECT_EQ(shown(), (Shown{1091, 1991, 0}));
    EXPECT_EQ(f.model.selection(), (SlotSpan{1450, 1468})) << "a scroll keeps the selection";
}

}  // namespace
}  // namespace nuvisca::test
