#include <gtest/gtest.h>

#include <cmath>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/SlotClock.h"
#include "graph/TimeAxis.h"

namespace nuvisca::test {
namespace {

using Strings = std::vector<std::string>;

// The clock labels of one colour as "text@y".
Strings labels(const RecordingPainter& painter, const Rgba& colour) {
    Strings found;
    for (const RecordedText* text : painter.textsIn(colour)) {
        if (text->text.find(':') != std::string::npos) {
            found.push_back(text->text + "@" + std::to_string(std::lround(text->at.y)));
        }
    }
    return found;
}

TEST(TimeAxis, MinuteTicksAndLabelsFromTheClockOfTheView) {
    GraphFixture f(2000);
    const RecordingPainter painter = f.draw();
    // No tick at the starting clock; the seventh tick (x 924) is too near the edge for a label.
    EXPECT_EQ(labels(painter, kLabelColour),
              (Strings{"10:01:00@518", "10:02:00@518", "10:03:00@518", "10:04:00@518",
                       "10:05:00@518", "10:06:00@518"}));
    EXPECT_NEAR(painter.findText("10:01:00")->at.x, 120 * (980.0 / 900.0) + 10 + 4, 1e-3);
    const auto& ticks = painter.strokesOf(kGridColour, 1.0).at(0)->runs;
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[0], (std::vector<PointF>{{140.5, 10}, {140.5, 538}})) << "on pixel centres";

    GraphFixture crowded(2000, clockTag(10, 0, 30));
    crowded.restart(80, clockTag(10, 1, 50));   // 10:02:00 only 40 slots after 10:01:00
    crowded.restart(110, clockTag(10, 2, 55));  // 10:03:00 over both: left out
    const Strings rows = labels(crowded.draw(), kLabelColour);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(Strings(rows.begin(), rows.begin() + 3),
              (Strings{"10:01:00@518", "10:02:00@498", "10:04:00@518"}));

    // Seconds between ticks by the slots shown, or by the span while the range ends before
    // it: each row of the table applies only above its bound.
    for (const auto& [start, last, viewSpan, seconds] :
         {std::tuple(400, 900, 900, 30),  // 500 of a 900-slot span: not for 900
          std::tuple(1000, 1599, 900, 30), std::tuple(1000, 1600, 900, 60),
          std::tuple(0, 100, 900, 60), std::tuple(0, 0, 900, 5)}) {
        EXPECT_EQ(tickInterval(start, last, viewSpan), seconds) << start << " .. " << last;
    }
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
    f.restart(400, clockTag(10, 6, 0));   // within 184 points of the first: next row up
    f.restart(690, clockTag(10, 20, 0));  // 184 wide, at 761: to the right it would run into
                                          // the index scale, so it stands to the left
    const RecordingPainter painter = f.draw();
    EXPECT_EQ(restartLineXs(painter), (std::vector<double>{336.5, 445.5, 761.5}));
    for (const auto& tick : painter.strokesOf(kGridColour, 1.0).at(0)->runs) {
        EXPECT_NE(tick[0].x, 336.5) << "the 10:05:00 tick would hide the red line";
    }
    EXPECT_EQ(labels(painter, kRestartLabelColour),
              (Strings{"10:02:29→10:05:00@12", "10:05:49→10:06:00@32", "10:08:24→10:20:00@12"}));
    EXPECT_EQ(painter.textsIn(kRestartLabelColour)[1]->at, (PointF{449, 32}));
    EXPECT_NEAR(painter.textsIn(kRestartLabelColour)[2]->at.x, 761 - 4 - 183.6, 1e-9);

    // Stacked by where it stands: over a label that a line at 761 would have cleared.
    GraphFixture edge(2000);
    edge.restart(450, clockTag(10, 5, 0));
    edge.restart(690, clockTag(10, 20, 0));
    EXPECT_EQ(labels(edge.draw(), kRestartLabelColour),
              (Strings{"10:03:44→10:05:00@12", "10:06:59→10:20:00@32"}));
    // A plot too narrow for either side leaves the label out, not over a scale.
    edge.view.viewWidth = 300.0f;
    EXPECT_EQ(labels(edge.draw(), kRestartLabelColour), (Strings{}));

    GraphFixture late(2000, clockTag(23, 0, 0));
    late.restart(300, clockTag(0, 0, 10));
    const RecordingPainter pastMidnight = late.draw();
    EXPECT_EQ(labels(pastMidnight, kRestartLabelColour), (Strings{"23:02:29→24:00:10@12"}));
    // The clock counts on into the next day, so the ticks go on after the restart.
    EXPECT_EQ(labels(pastMidnight, kLabelColour),
              (Strings{"23:01:00@518", "23:02:00@518", "24:01:00@518", "24:02:00@518",
                       "24:03:00@518", "24:04:00@518"}));

    // Scrolled on: no mark on the first visible slot; the clock from the tags before the view.
    GraphFixture scrolled(4000);
    scrolled.restart(1000, clockTag(11, 0, 0));
    scrolled.restart(1100, clockTag(11, 0, 50));
    scrolled.restart(1300, clockTag(11, 10, 0));
    std::tie(scrolled.view.viewStart, scrolled.view.viewEnd) = std::tuple(1100, 2000);
    const RecordingPainter later = scrolled.draw();
    EXPECT_EQ(labels(later, kRestartLabelColour), (Strings{"11:02:29→11:10:00@12"}));
    EXPECT_EQ(labels(later, kLabelColour).front(), "11:01:00@518");
}

TEST(ClockEntry, HoursAndMinutesWithOptionalSecondsCountedPastMidnight) {
    using Parsed = std::optional<std::uint64_t>;
    const std::pair<const char*, Parsed> cases[] = {{"09:30", clockTag(9, 30, 0)},
                                                    {"9:30", clockTag(9, 30, 0)},
                                                    {"24:15:30", clockTag(24, 15, 30)},
                                                    {"00:00:00", 0},
                                                    {"99:59:59", clockTag(99, 59, 59)},
                                                    {"25:61", std::nullopt},
                                                    {"10:00:60", std::nullopt},
                                                    {"9:3", std::nullopt},
                                                    {"09:30:5", std::nullopt},
                                                    {"123:00", std::nullopt},
                                                    {"09:300", std::nullopt},
                                                    {"09:30:", std::nullopt},
                                                    {"09", std::nullopt},
                                                    {" 09:30", std::nullopt},
                                                    {"09-30", std::nullopt},
                                                    {"", std::nullopt}};
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(parseClock(text), seconds) << '"' << text << '"';
    }
}

// Begun at 23:59:00; stopped at 23:59:59.5 (slot 119), restarted at 00:05:00 (counted
// 24:05:00), stopped at 00:08:09.5 and restarted at 00:10:00 until 00:14:09.5.
TEST(ClockEntry, SlotOfAClockTimeAsTheAxisCountsIt) {
    GraphFixture f(1000, clockTag(23, 59, 0));
    f.restart(120, clockTag(0, 5, 0));
    f.restart(500, clockTag(0, 10, 0));
    const ClockSpan span = recordingClockSpan(*f.store);    EXPECT_EQ(formatClock(span.first) + "-" + formatClock(span.last), "23:59:00-24:14:09");
    EXPECT_EQ(formatClockSpan(*f.store, 100, 600), "23:59:50–24:10:50");
    EXPECT_EQ((std::array{formatSlotsDuration(362), formatSlotsDuration(1),
                          formatSlotsDuration(2 * 3723 + 1)}),
              (std::array<std::string, 3>{"3分01秒", "0分00.5秒", "1時間02分03.5秒"}));
    // The time asked and the slot found.
    const std::pair<std::uint64_t, std::optional<std::int32_t>> cases[] = {
        {clockTag(23, 59, 0), 0},
        {clockTag(23, 59, 30), 60},
        {clockTag(23, 59, 59), 118},
        {clockTag(24, 0, 0), 120},  // in the pause: the restart
        {clockTag(24, 5, 0), 120},
        {clockTag(24, 6, 0), 240},
        {clockTag(24, 8, 10), 500},
        {clockTag(24, 14, 9), 998},
        {clockTag(24, 14, 10), std::nullopt},
        {clockTag(23, 58, 59), std::nullopt},
        {clockTag(0, 5, 0), std::nullopt}};  // the morning itself, before the recording
    for (const auto& [seconds, slot] : cases) {
        EXPECT_EQ(slotAtClock(*f.store, seconds), slot) << formatClock(seconds);
        if (slot) {
            EXPECT_GE(clockTimeOf(*f.store, *slot), seconds);
        }
    }
    f.store->sampleCount = 0;
    EXPECT_EQ(slotAtClock(*f.store, clockTag(23, 59, 0)), std::nullopt);
}

}  // namespace
}  // namespace nuvisca::test
