#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "store/MovingAverage.h"
#include "store/Recording.h"
#include "store/RecordingDate.h"

namespace nuvisca {
namespace {

TEST(Recording, SpanOverMidnightAndOddYears) {
    auto store = makeEmptyRecording();
    store->startHour = 23;
    store->endHour = 1;
    EXPECT_EQ(computeSpanSamples(*store), 2 * 7200);  // over midnight
    store->startYear = 105;  // a damaged header: the heading shows it as it is, the list after "20"
    EXPECT_EQ(formatDate(recordingStart(*store), DateStyle::Heading), "105年00月00日 23時00分00秒");
    EXPECT_EQ(formatDate(dateFromKey(1050715090530), DateStyle::FileList),
              "20105年07月15日 09:05:30");
}

// Continuation slots but `taggedSlot`; rSO2 is 10 x oxHb and dxHb is oxHb / 2, while toHb
// stays 0: the averaged toHb is the sum of the parts.
struct Averaged {
    std::unique_ptr<Recording> recording = makeEmptyRecording();
    std::unique_ptr<AveragedSeries> series = std::make_unique<AveragedSeries>();

    void compute(std::int32_t window) { computeMovingAverage(*recording, window, *series); }
    const SampleArray& operator[](Channel channel) const { return series->values[channel]; }
};

Averaged averaged(const std::vector<float>& oxhb, std::int32_t window, int taggedSlot = -1) {
    Averaged result;
    Recording& store = *result.recording;
    for (std::size_t i = 0; i < oxhb.size(); ++i) {
        putSample(store, i, {oxhb[i], oxhb[i] / 2.0f, 0.0f, oxhb[i] * 10.0f});
        store.sampleTime[i] = static_cast<int>(i) == taggedSlot ? 36000 : continuationTag;
    }
    store.sampleCount = static_cast<std::int32_t>(oxhb.size());
    result.compute(window);
    return result;
}

TEST(MovingAverage, StopsAtBreaksAndTaggedSlotsAndCopiesForAWindowOfZeroOrLess) {
    // oxHb, window, tagged slot, the averaged oxHb (-1: no value in any series)
    // clang-format off
    const std::tuple<std::vector<float>, std::int32_t, int, std::vector<float>> cases[] = {
        {{1, 2, -1, 4, 5}, 1, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}},
        {{1, 2, 3, 4, 5}, 1, 2, {1.5f, 1.5f, 3.5f, 4.5f, 4.5f}},  // a tagged slot starts anew
        {{1, 2, std::numeric_limits<float>::quiet_NaN(), 4, 5}, 1, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}},
        {{1, 2, -1, 4}, 0, -1, {1, 2, -1, 4}},
        {{1, 2, -1, 4}, -1, -1, {1, 2, -1, 4}}};
    // clang-format on
    for (const auto& [oxhb, window, taggedSlot, expected] : cases) {
        const Averaged store = averaged(oxhb, window, taggedSlot);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const float e = expected[i];
            EXPECT_EQ(
                (std::array{store[kOxhb][i], store[kDxhb][i], store[kRso2][i], store[kTohb][i]}),
                (e < 0 ? std::array{-1.0f, -1.0f, -1.0f, -1.0f}
                       : std::array{e, e / 2.0f, e * 10.0f, e + e / 2.0f}))
                << window << ", slot " << i;
        }
    }
}

TEST(MovingAverage, Rso2NeighboursAboveZeroLargestWindowInFloatAndNothingBeyondTheCount) {
    Averaged store = averaged({1, 2, 3}, 1);
    store.recording->measured[kRso2][0] = 0.0f;     // left out of the rSO2 mean, kept for Hb
    store.recording->measured[kRso2][1] = -100.0f;  // the slot's own value always counts
    store.recording->measured[kRso2][2] = 60.0f;
    store.compute(1);
    EXPECT_EQ(store[kRso2][1], (-100.0f + 60.0f) / 2.0f);
    EXPECT_EQ(store[kOxhb][1], 2.0f);

    std::vector<float> values(100);
    std::iota(values.begin(), values.end(), 0.0f);
    EXPECT_EQ(averaged(values, 29)[kOxhb][50], 50.0f);  // 21 .. 79
    // The ulp at 1e8 is 8: 1e8 + 3 + 3 stays 1e8 in float when the slot comes first, while
    // adding the neighbours first or in double would give 1e8 + 8 or 1e8 + 6.
    store = averaged({3, 3, 1e8f, 0, 0}, 2);
    EXPECT_EQ(store[kOxhb][2], 2e7f);
    store.series->values[kOxhb].fill(7.0f);
    store.recording->sampleCount = 2;
    store.compute(2);
    EXPECT_EQ((std::array{store[kOxhb][1], store[kOxhb][2]}), (std::array{3.0f, 7.0f}));
}

}  // namespace
}  // namespace nuvisca
