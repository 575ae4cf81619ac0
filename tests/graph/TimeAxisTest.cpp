#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/TimeAxis.h"

namespace nuvisca::test {
namespace {

using Strings = std::vector<std::string>;

TEST(TimeAxis, TickIntervalAtEachLimitAndItsNeighbour) {
    // start, last, viewSpan, seconds; v is last - start unless the range is shorter than
    // viewSpan.
    // clang-format off
    const std::array<std::int32_t, 4> cases[] = {
        {0, 54010, 900, 5400}, {0, 54009, 900, 3600}, {0, 36009, 900, 1800}, {0, 18009, 900, 900},
        {0, 9009, 900, 600}, {0, 6000, 900, 600}, {0, 5999, 900, 300}, {0, 2999, 900, 120},
        {0, 1199, 900, 60}, {0, 900, 900, 60}, {300, 900, 300, 60}, {300, 899, 300, 30},
        {0, 300, 300, 30}, {0, 299, 299, 15}, {0, 150, 150, 15}, {0, 149, 149, 10},
        {0, 100, 100, 10}, {0, 99, 99, 5}, {0, 50, 900, 60}, {120, 120, 900, 5}, {500, 400, 900, 5}};
    // clang-format on
    for (const auto& [start, last, viewSpan, seconds] : cases) {
        EXPECT_EQ(tickInterval(start, last, viewSpan), seconds) << start << ".." << last;
    }
}

Strings timeLabels(const RecordingPainter& painter) {
    Strings labels;
    for (const RecordedText* text : painter.textsIn(colorLine2)) {
        if (text->text.find(':') != std::string::npos) {
            labels.push_back(text->text);
        }
    }
    return labels;
}

TEST(TimeAxis, MinuteTicksAcrossA900SlotView) {
    GraphFixture f(2000);
    const RecordingPainter painter = f.draw();
    // 10:00:00 is the clock the walk starts from, so it gets no tick; the seventh tick
    // (10:07:00, x 924.7) is too near the right edge for a label.
    EXPECT_EQ(timeLabels(painter),
              (Strings{"10:01:00", "10:02:00", "10:03:00", "10:04:00", "10:05:00", "10:06:00"}));
    const RecordedText* first = painter.findText("10:01:00");
    EXPECT_NEAR(first->at.x, 120 * (980.0 / 900.0) + 10 + 4, 1e-3);
    EXPECT_DOUBLE_EQ(first->at.y, 528 - 10);
    EXPECT_EQ(first->attributes.background, kWhite);
    const auto ticks = painter.strokesOf(colorLine1, 1.0);
    ASSERT_EQ(ticks.size(), 1u);
    ASSERT_EQ(ticks[0]->runs.size(), 7u);
    EXPECT_EQ(ticks[0]->runs[0], (std::vector<PointF>{{140, 10}, {140, 538}}));
    EXPECT_EQ(ticks[0]->runs[6].front().x, 924);
}

TEST(TimeAxis, LabelCloserThanItsNeighbourDropsARow) {
    GraphFixture f(2000, clockTag(10, 0, 30));
    f.restart(80, clockTag(10, 1, 50));  // 10:02:00 follows 10:01:00 after 40 slots
    const RecordingPainter painter = f.draw();
    ASSERT_EQ(timeLabels(painter).size(), 8u);  // 10:01:00 to 10:08:00
    EXPECT_DOUBLE_EQ(painter.findText("10:01:00")->at.y, 518);
    EXPECT_DOUBLE_EQ(painter.findText("10:02:00")->at.y, 498);
    EXPECT_DOUBLE_EQ(painter.findText("10:03:00")->at.y, 518);
}

TEST(TimeAxis, ClockComesFromTheLastTagBeforeTheViewAndRunsPastMidnight) {
    GraphFixture late(2000, clockTag(23, 59, 0));
    const Strings afterMidnight = timeLabels(late.draw());
    ASSERT_GE(afterMidnight.size(), 2u);
    EXPECT_EQ(Strings(afterMidnight.begin(), afterMidnight.begin() + 2),
              (Strings{"24:00:00", "24:01:00"}));
    GraphFixture untagged(2000, clockTag(9, 0, 0));
    untagged.restart(0, continuationTag);  // the header's start time then
    EXPECT_EQ(timeLabels(untagged.draw()).front(), "09:01:00");
    GraphFixture scrolled(4000);
    scrolled.restart(1000, clockTag(11, 0, 0));
    scrolled.view.viewStart = 1100;  // 11:00:50
    scrolled.view.viewEnd = 2000;
    EXPECT_EQ(timeLabels(scrolled.draw()).front(), "11:01:00");
}

std::vector<double> restartLineXs(const RecordingPainter& painter) {
    std::vector<double> xs;
    for (const auto& run : painter.strokesOf(kRed, 1.0).at(0)->runs) {
        EXPECT_EQ(run, (std::vector<PointF>{{run[0].x, 10}, {run[0].x, 538}}));
        xs.push_back(run[0].x);
    }
    return xs;
}

TEST(RestartMarks, LineAndLabelAtEachRestartStackingWhenClose) {
    GraphFixture f(2000);
    f.restart(300, clockTag(10, 5, 0));
    f.restart(400, clockTag(10, 6, 0));
    f.restart(700, clockTag(10, 20, 0));
    const RecordingPainter painter = f.draw();
    EXPECT_EQ(restartLineXs(painter), (std::vector<double>{336, 445, 772}));
    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0]->text, "10:02:29\u219210:05:00");  // clock of slot 299
    EXPECT_EQ(labels[0]->at, (PointF{340, 12}));
    EXPECT_EQ(labels[1]->text, "10:05:49\u219210:06:00");
    EXPECT_EQ(labels[1]->at, (PointF{449, 32}));  // within 184 of the first: next row up
    EXPECT_EQ(labels[2]->text, "10:08:29\u219210:20:00");
    EXPECT_EQ(labels[2]->at, (PointF{776, 12}));  // far enough: back on the lowest row
    EXPECT_EQ(labels[2]->attributes.background, kWhite);
}

TEST(RestartMarks, ResumingAfterMidnightAndRestartingOnTheFirstVisibleSlot) {
    GraphFixture late(2000, clockTag(23, 0, 0));
    late.restart(300, clockTag(0, 0, 10));
    EXPECT_EQ(late.draw().textsIn(colorLine3).at(0)->text, "23:02:29\u219224:00:10");

    GraphFixture scrolled(2000);
    scrolled.restart(300, clockTag(10, 5, 0));  // on the first visible slot: no mark
    scrolled.restart(500, clockTag(10, 10, 0));
    scrolled.view.viewStart = 300;
    scrolled.view.viewEnd = 1200;
    const RecordingPainter painter = scrolled.draw();
    EXPECT_EQ(restartLineXs(painter).size(), 1u);
    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->text, "10:06:39\u219210:10:00");
}

TEST(RestartMarks, NinthCrowdedLabelWrapsToTheRowAfterThePrevious) {
    GraphFixture f(2000);
    for (std::int32_t k = 0; k < 9; ++k) {
        f.restart(static_cast<std::size_t>(100 + 10 * k), clockTag(11, k, 0));
    }
    const RecordingPainter painter = f.draw();
    std::vector<double> rows;
    for (const RecordedText* label : painter.textsIn(colorLine3)) {
        rows.push_back((label->at.y - 12) / 20);
    }
    EXPECT_EQ(rows, (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
}

}  // namespace
}  // namespace nuvisca::test
