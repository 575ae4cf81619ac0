#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/TimeAxis.h"

namespace nuvisca {
namespace {

using test::clockTag;
using test::GraphFixture;

struct IntervalCase {
    std::int32_t start;
    std::int32_t last;
    std::int32_t viewSpan;
    std::int32_t seconds;
};

class TickIntervalTest : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(TickIntervalTest, ChosenByVisibleSlots) {
    const IntervalCase c = GetParam();
    EXPECT_EQ(tickInterval(c.start, c.last, c.viewSpan), c.seconds);
}

// Each limit and its neighbour; v is last - start unless the range is shorter than viewSpan.
INSTANTIATE_TEST_SUITE_P(
    Limits, TickIntervalTest,
    ::testing::Values(IntervalCase{0, 54010, 900, 5400}, IntervalCase{0, 54009, 900, 3600},
                      IntervalCase{0, 36009, 900, 1800}, IntervalCase{0, 18009, 900, 900},
                      IntervalCase{0, 9009, 900, 600}, IntervalCase{0, 6000, 900, 600},
                      IntervalCase{0, 5999, 900, 300}, IntervalCase{0, 2999, 900, 120},
                      IntervalCase{0, 1199, 900, 60}, IntervalCase{0, 900, 900, 60},
                      IntervalCase{300, 900, 300, 60}, IntervalCase{300, 899, 300, 30},
                      IntervalCase{0, 300, 300, 30}, IntervalCase{0, 299, 299, 15},
                      IntervalCase{0, 150, 150, 15}, IntervalCase{0, 149, 149, 10},
                      IntervalCase{0, 100, 100, 10}, IntervalCase{0, 99, 99, 5},
                      IntervalCase{0, 50, 900, 60},  // short recording: v = viewSpan
                      IntervalCase{120, 120, 900, 5}, IntervalCase{500, 400, 900, 5}));

std::vector<std::string> timeLabels(const test::RecordingPainter& painter) {
    std::vector<std::string> labels;
    for (const test::RecordedText* text : painter.textsIn(colorLine2)) {
        if (text->text.find(':') != std::string::npos) {
            labels.push_back(text->text);
        }
    }
    return labels;
}

TEST(TimeAxis, MinuteTicksAcrossA900SlotView) {
    GraphFixture f(2000);
    const test::RecordingPainter painter = f.draw();
    // 10:00:00 itself is the clock the walk starts from, so it gets no tick.
    EXPECT_EQ(timeLabels(painter), (std::vector<std::string>{"10:01:00", "10:02:00", "10:03:00",
                                                             "10:04:00", "10:05:00", "10:06:00"}));
    const test::RecordedText* first = painter.findText("10:01:00");
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->at.x, 120 * (980.0 / 900.0) + 10 + 4, 1e-3);
    EXPECT_DOUBLE_EQ(first->at.y, 528 - 10);
    EXPECT_EQ(first->attributes.background, kWhite);

    // The seventh tick (10:07:00, x 924.7) is too near the right edge for a label.
    const auto ticks = painter.strokesOf(colorLine1, 1.0);
    ASSERT_EQ(ticks.size(), 1u);
    ASSERT_EQ(ticks[0]->runs.size(), 7u);
    EXPECT_EQ(ticks[0]->runs[0], (std::vector<PointF>{{140, 10}, {140, 538}}));
    EXPECT_EQ(ticks[0]->runs[6].front().x, 924);
}

TEST(TimeAxis, LabelCloserThanItsNeighbourDropsARow) {
    GraphFixture f(2000, clockTag(10, 0, 30));
    f.restart(80, clockTag(10, 1, 50));  // 10:02:00 follows 10:01:00 after 40 slots
    const test::RecordingPainter painter = f.draw();
    ASSERT_NE(painter.findText("10:01:00"), nullptr);
    ASSERT_NE(painter.findText("10:02:00"), nullptr);
    ASSERT_NE(painter.findText("10:03:00"), nullptr);
    EXPECT_DOUBLE_EQ(painter.findText("10:01:00")->at.y, 518);
    EXPECT_DOUBLE_EQ(painter.findText("10:02:00")->at.y, 498);
    EXPECT_DOUBLE_EQ(painter.findText("10:03:00")->at.y, 518);
}

TEST(TimeAxis, HoursRunPastMidnight) {
    GraphFixture f(900, clockTag(23, 59, 0));
    const test::RecordingPainter painter = f.draw();
    EXPECT_NE(painter.findText("24:00:00"), nullptr);
    EXPECT_NE(painter.findText("24:01:00"), nullptr);
}

TEST(TimeAxis, UntaggedFirstSlotCountsFromTheHeaderStart) {
    GraphFixture f(2000, clockTag(10, 0, 0));
    f.store->sampleTime[0] = continuationTag;
    EXPECT_EQ(timeLabels(f.draw()).front(), "10:01:00");
}

TEST(TimeAxis, ClockOfAScrolledViewComesFromTheLastRestartBeforeIt) {
    GraphFixture f(4000);
    f.restart(1000, clockTag(11, 0, 0));
    f.view.viewStart = 1100;  // 11:00:50
    f.view.viewEnd = 2000;
    EXPECT_EQ(timeLabels(f.draw()).front(), "11:01:00");
}

}  // namespace
}  // namespace nuvisca
