#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <tuple>

#include "store/MovingAverage.h"
#include "store/RangeStatistics.h"

namespace nuvisca {
namespace {

// oxHb, dxHb, toHb, rSO2 of each slot: slot 2 is a gap, slot 5 a restart, slot 4's rSO2 is under
// 0.01, slot 8 has rSO2 but no haemoglobin, and slot 9 lies past the recording.
// clang-format off
constexpr std::array<std::array<float, kChannelCount>, 10> kSlots{{
    {0.5f, 0.25f, 0.75f, 60}, {0.25f, 0.25f, 0.5f, 40}, {-1, -1, -1, -1}, {0.75f, 0.25f, 1, 45},
    {0.5f, 0.5f, 1, 0.0078125f}, {0.25f, 0.25f, 0.5f, 70}, {0.5f, 0.25f, 0.75f, 50},
    {1, 0.5f, 1.5f, 30}, {-1, -1, -1, 55}, {0.125f, 0.125f, 0.25f, 10}}};
// clang-format on

std::unique_ptr<Recording> recording() {
    auto store = makeEmptyRecording();
    for (std::size_t i = 0; i < kSlots.size(); ++i) {
        putSample(*store, i, kSlots[i]);
        store->sampleTime[i] = i == 0 || i == 5 ? 36000 + i : continuationTag;
    }
    store->sampleCount = 9;
    return store;
}

TEST(RangeStatistics, HandComputedRangesWithAGapARestartTheAverageAndAThreshold) {
    // Window, start, end, threshold; the range used, n, mean, min and max of each channel, the
    // seconds and the area below the threshold.
    using Row =
        std::tuple<std::int32_t, std::int64_t, std::int64_t, double, std::int32_t, std::int32_t,
                   std::array<std::array<double, 4>, kChannelCount>, double, double>;
    // clang-format off
    const Row rows[] = {
        {0, -3, 8, 50, 0, 8, {{{7, 3.75 / 7, 0.25, 1}, {7, 2.25 / 7, 0.25, 0.5},
          {7, 6.0 / 7, 0.5, 1.5}, {6, 295.0 / 6, 30, 70}}}, 1.5, 35.0 / 120},
        // Averages with one neighbour, never across the gap or the restart.
        {1, 0, INT64_MAX, 50, 0, 9, {{{7, 3.75 / 7, 0.25, 0.75}, {7, 2.25 / 7, 0.25, 0.375},
          {7, 6.0 / 7, 0.5, 1.125}, {6, 252.50390625 / 6, 22.50390625, 60}}}, 2.0, 57.49609375 / 120},
        {0, 20, 30, 50, 9, 9, {}, 0, 0},
        {0, 6, 3, 50, 6, 6, {}, 0, 0}};
    // clang-format on
    for (const auto& [window, start, end, threshold, from, to, channels, seconds, area] : rows) {
        const auto store = recording();
        AveragedSeries average;
        computeMovingAverage(*store, window, average);
        const RangeStatistics stats = computeRangeStatistics(
            *store, window > 0 ? &average : nullptr, {start, end, threshold});
        EXPECT_EQ(std::tuple(stats.start, stats.end, stats.averageBox, stats.rso2BelowSeconds,
                             stats.rso2AreaBelow),
                  std::tuple(from, to, window + 1, seconds, area));
        for (std::size_t c = 0; c < kChannelCount; ++c) {
            const ChannelStatistics& s = stats.channels[c];
            EXPECT_EQ((std::array<double, 4>{1.0 * s.count, s.mean, s.min, s.max}), channels[c])
                << start << " to " << end << ", window " << window << ", channel " << c;
        }
    }
}

}  // namespace
}  // namespace nuvisca
