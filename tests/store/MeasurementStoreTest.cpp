#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "store/MeasurementStore.h"
#include "store/MovingAverage.h"
#include "store/RecordingDate.h"

namespace nuvisca {
namespace {

TEST(MeasurementStore, SpanOverMidnightNameCutAtAWholeCharacterAndOddYears) {
    auto store = makeMeasurementStore();
    store->startHour = 23;
    store->endHour = 1;
    EXPECT_EQ(computeSpanSamples(*store), 2 * 7200);  // over midnight
    for (const auto& [prefix, kept] : {std::pair{"", 255u}, {"a", 253u}}) {
        std::string name = prefix;
        for (int i = 0; i < 100; ++i) {
            name += "測";  // three bytes each
        }
        setCurrentFileName(*store, name.data(), name.size());
        EXPECT_EQ(std::string(store->currentFileName.data()), name.substr(0, kept));
    }
    store->startYear = 105;  // a damaged header: the heading shows it as it is, the list after "20"
    EXPECT_EQ(formatDate(recordingStart(*store), DateStyle::Heading), "105年00月00日 23時00分00秒");
    EXPECT_EQ(formatDate(dateFromKey(1050715090530), DateStyle::FileList),
              "20105年07月15日 09:05:30");
}

// Continuation slots but `taggedSlot`; rSO2 is 10 x oxHb and dxHb is oxHb / 2, while toHb
// stays 0: the averaged toHb is the sum of the parts.
std::unique_ptr<MeasurementStore> averaged(const std::vector<float>& oxhb, std::int32_t window,
                                           int taggedSlot = -1) {
    auto store = makeMeasurementStore();
    for (std::size_t i = 0; i < oxhb.size(); ++i) {
        putSample(*store, i, {oxhb[i], oxhb[i] / 2.0f, 0.0f, oxhb[i] * 10.0f});
        store->sampleTime[i] = static_cast<int>(i) == taggedSlot ? 36000 : continuationTag;
    }
    store->sampleCount = static_cast<std::int32_t>(oxhb.size());
    store->averageWindow = window;
    computeMovingAverage(*store);
    return store;
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
        const auto store = averaged(oxhb, window, taggedSlot);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const float e = expected[i];
            EXPECT_EQ((std::array{store->averaged[kOxhb][i], store->averaged[kDxhb][i],
                                  store->averaged[kRso2][i], store->averaged[kTohb][i]}),
                      (e < 0 ? std::array{-1.0f, -1.0f, -1.0f, -1.0f}
                             : std::array{e, e / 2.0f, e * 10.0f, e + e / 2.0f}))
                << window << ", slot " << i;
        }
    }
}

TEST(MovingAverage, Rso2NeighboursAboveZeroLargestWindowInFloatAndNothingBeyondTheCount) {
    auto store = averaged({1, 2, 3}, 1);
    store->measured[kRso2][0] = 0.0f;     // left out of the rSO2 mean, kept for haemoglobin
    store->measured[kRso2][1] = -100.0f;  // the slot's own value always counts
    store->measured[kRso2][2] = 60.0f;
    computeMovingAverage(*store);
    EXPECT_EQ(store->averaged[kRso2][1], (-100.0f + 60.0f) / 2.0f);
    EXPECT_EQ(store->averaged[kOxhb][1], 2.0f);

    std::vector<float> values(100);
    std::iota(values.begin(), values.end(), 0.0f);
    EXPECT_EQ(averaged(values, 29)->averaged[kOxhb][50], 50.0f);  // 21 .. 79
    // The ulp at 1e8 is 8: 1e8 + 3 + 3 stays 1e8 in float when the slot comes first, while
    // adding the neighbours first or in double would give 1e8 + 8 or 1e8 + 6.
    store = averaged({3, 3, 1e8f, 0, 0}, 2);
    EXPECT_EQ(store->averaged[kOxhb][2], 2e7f);
    store->averaged[kOxhb].fill(7.0f);
    store->sampleCount = 2;
    computeMovingAverage(*store);
    EXPECT_EQ((std::array{store->averaged[kOxhb][1], store->averaged[kOxhb][2]}),
              (std::array{3.0f, 7.0f}));
}

}  // namespace
}  // namespace nuvisca
