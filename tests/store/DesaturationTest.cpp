#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "store/Baseline.h"
#include "store/Desaturation.h"

namespace nuvisca {
namespace {

// rSO2 of each slot, the haemoglobin present except where rSO2 is the no-data mark. Against a
// threshold of 50 and a minimum of 4 slots: 2-5 exactly the minimum; 6 at the threshold; 7-9
// one slot short; 11-15 ended by the pause at 16; 17-20 ended by the restart at 21, which
// begins 21-24; 25 has an rSO2 under 0.01; 26-29 run to the end of the recording.
// clang-format off
constexpr float kValues[] = {60, 60, 40, 40, 40, 40, 50, 45, 45, 45, 60, 44, 42, 46, 48, 40, -1,
                           30, 30, 30, 30, 35, 35, 35, 35, 0.005f, 49, 49, 49, 49};
// clang-format on
constexpr std::int32_t kRestart = 21;

std::unique_ptr<Recording> recording() {
    auto store = makeEmptyRecording();
    for (std::size_t i = 0; i < std::size(kValues); ++i) {
        const float hb = kValues[i] < 0 ? -1.0f : 0.5f;
        putSample(*store, i, {hb, hb, hb, kValues[i]});
        store->sampleTime[i] = continuationTag;
    }
    store->sampleTime[0] = 36000;
    store->sampleTime[kRestart] = 36000 + 30;
    store->sampleCount = static_cast<std::int32_t>(std::size(kValues));
    return store;
}

using Event = std::tuple<std::int32_t, std::int32_t, float, double>;  // start, end, nadir, area

TEST(Desaturation, BaselinesOverSlotsWithGapsAndTheThresholdTheyGive) {
    const auto store = recording();
    // Start, end; the slots measured over, the values counted and their mean, or none.
    using Row =
        std::tuple<std::int64_t, std::int64_t, std::optional<std::tuple<int, int, int, double>>>;
    const Row rows[] = {
        {10, 18, {{10, 18, 7, (60.0 + 44 + 42 + 46 + 48 + 40 + 30) / 7}}},  // 16 is a gap
        {16, 17, std::nullopt},
        {25, 26, std::nullopt},  // rSO2 under 0.01
        {-5, 2, {{0, 2, 2, 60.0}}},
        {24, 99, {{24, 30, 5, (35.0 + 4 * 49) / 5}}},
        {20, 10, std::nullopt}};
    for (const auto& [start, end, expected] : rows) {
        const std::optional<Baseline> baseline =
            measureBaseline(*store, nullptr, BaselineMethod::kRange, start, end);
        ASSERT_EQ(baseline.has_value(), expected.has_value()) << start << " to " << end;
        if (baseline) {
            EXPECT_EQ(
                std::tuple(baseline->start, baseline->end, baseline->counted),
                std::tuple(std::get<0>(*expected), std::get<1>(*expected), std::get<2>(*expected)));
            EXPECT_DOUBLE_EQ(baseline->value, std::get<3>(*expected)) << start << " to " << end;
        }
    }
    // One minute is 120 slots, cut at the end of the recording: all 28 counted values.
    const std::optional<Baseline> first = firstMinutesBaseline(*store, nullptr, 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(std::tuple(first->method, first->end, first->counted),
              std::tuple(BaselineMethod::kFirstMinutes, 30, 28));
    EXPECT_DOUBLE_EQ(first->value, 1201.0 / 28);

    // Absolute, baseline, drop: the higher of the absolute and the relative threshold.
    const std::tuple<double, std::optional<double>, double, double> thresholds[] = {
        {50, std::nullopt, 20, 50}, {50, 75, 20, 60},     {65, 75, 20, 65}, {50, 80, 0, 80},
        {50, 80, 100, 50},          {0, 62.5, 25, 46.875}};
    for (const auto& [absolute, value, drop, expected] : thresholds) {
        const std::optional<Baseline> baseline =
            value ? std::optional(Baseline{*value, BaselineMethod::kTyped, 0, 0, 0}) : std::nullopt;
        EXPECT_DOUBLE_EQ(effectiveThreshold(absolute, baseline, drop), expected)
            << absolute << ", " << value.value_or(-1) << ", " << drop;
    }
}

TEST(Desaturation, EventsEndAtPausesRestartsAndTheRangeAndLastAtLeastTheMinimum) {
    const auto store = recording();
    // Start, end, minimum seconds; the events.
    using Row = std::tuple<std::int64_t, std::int64_t, double, std::vector<Event>>;
    const Row rows[] = {
        {0,
         30,
         2.0,
         {{2, 6, 40.f, 40 / 120.0},
          {11, 16, 40.f, 30 / 120.0},
          {17, 21, 30.f, 80 / 120.0},
          {21, 25, 35.f, 60 / 120.0},
          {26, 30, 49.f, 4 / 120.0}}},
        // 2.1 s asks for 5 slots.
        {0, 30, 2.1, {{11, 16, 40.f, 30 / 120.0}}},
        // The range cuts 2-5 and 26-29 short; 7-9 counts without a minimum.
        {3,
         28,
         2.0,
         {{11, 16, 40.f, 30 / 120.0}, {17, 21, 30.f, 80 / 120.0}, {21, 25, 35.f, 60 / 120.0}}},
        {7, 12, 0.0, {{7, 10, 45.f, 15 / 120.0}, {11, 12, 44.f, 6 / 120.0}}},
        {12, 12, 0.0, {}}};
    for (const auto& [start, end, seconds, expected] : rows) {
        const Desaturations found = findDesaturations(*store, nullptr, start, end, 50.0, seconds);
        ASSERT_EQ(found.events.size(), expected.size())
            << start << " to " << end << ", " << seconds;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const auto& [from, to, nadir, area] = expected[k];
            const DesaturationEvent& event = found.events[k];
            EXPECT_EQ(std::tuple(event.start, event.end, event.nadir), std::tuple(from, to, nadir));
            EXPECT_DOUBLE_EQ(event.areaBelow, area) << from;
        }
    }

    // The sums: 21 slots in events, 28 monitored (not the pause, not the rSO2 under 0.01).
    const Desaturations all = findDesaturations(*store, nullptr, 0, 30, 50.0, 2.0);
    EXPECT_EQ(
        std::tuple(all.start, all.end, all.minimumSlots, all.slotsInEvents, all.monitoredSlots),
        std::tuple(0, 30, 4, 21, 28));
    EXPECT_DOUBLE_EQ(all.secondsInEvents(), 10.5);
    EXPECT_DOUBLE_EQ(all.areaInEvents, 214 / 120.0);
    EXPECT_DOUBLE_EQ(all.areaPerMonitoredHour(), 214 / 120.0 * 3600 / 14);
    EXPECT_EQ(findDesaturations(*store, nullptr, 16, 17, 50.0, 0.0).areaPerMonitoredHour(), 0.0);
    // 1.6 s asks for 4 slots too, so the 3-slot run at 7 stays out.
    const Desaturations rounded = findDesaturations(*store, nullptr, 0, 30, 50.0, 1.6);
    EXPECT_EQ(std::tuple(rounded.minimumSlots, rounded.events.size()), std::tuple(4, 5u));
}

TEST(Desaturation, TheAveragedSeriesIsReadThroughout) {
    const auto store = recording();
    // The averaged values: the no-data mark at 4 (its haemoglobin missing in the window), 55 at
    // 12, and 40 at 0 and 1.
    AveragedSeries averaged;
    averaged.window = 1;
    averaged.values = store->measured;
    averaged.values[kRso2][0] = averaged.values[kRso2][1] = 40;
    averaged.values[kRso2][4] = -1;
    averaged.values[kRso2][12] = 55;

    const Desaturations found = findDesaturations(*store, &averaged, 0, 16, 50.0, 1.0);
    ASSERT_EQ(found.events.size(), 3u);
    EXPECT_EQ(std::tuple(found.events[0].start, found.events[0].end, found.events[0].nadir),
              std::tuple(0, 4, 40.f));
    EXPECT_EQ(std::tuple(found.events[1].start, found.events[1].end), std::tuple(7, 10));
    EXPECT_EQ(std::tuple(found.events[2].start, found.events[2].end), std::tuple(13, 16));
    EXPECT_EQ(found.monitoredSlots, 15);
    const std::optional<Baseline> baseline =
        measureBaseline(*store, &averaged, BaselineMethod::kRange, 0, 6);
    ASSERT_TRUE(baseline);
    EXPECT_DOUBLE_EQ(baseline->value, (40.0 + 40 + 40 + 40 + 40) / 5);
}

}  // namespace
}  // namespace nuvisca
