#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "store/MeasurementStore.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Slots 0 .. oxhb.size() - 1 as continuation slots; rSO2 is 10 x oxHb and dxHb is oxHb / 2.
std::unique_ptr<MeasurementStore> averaged(const std::vector<float>& oxhb, std::int32_t window,
                                           int taggedSlot = -1) {
    auto store = makeMeasurementStore();
    for (std::size_t i = 0; i < oxhb.size(); ++i) {
        store->oxhbData[i] = oxhb[i];
        store->rso2Data[i] = oxhb[i] * 10.0f;
        store->dxhbData[i] = oxhb[i] / 2.0f;
        store->tohbData[i] = 0.0f;  // never read: the averaged toHb is the sum of the parts
        store->sampleTime[i] = static_cast<int>(i) == taggedSlot ? 36000 : continuationTag;
    }
    store->sampleCount = static_cast<std::int32_t>(oxhb.size());
    store->averageWindow = window;
    Create_Av_data(*store);
    return store;
}

TEST(MovingAverage, WindowOfOneStopsAtBreaksAndTaggedSlots) {
    struct Case {
        std::vector<float> oxhb;
        int taggedSlot;
        std::vector<float> expected;
    };
    // clang-format off
    const Case cases[] = {
        {{1, 2, 3, 4, 5}, -1, {1.5f, 2, 3, 4, 4.5f}},
        {{1, 2, -1, 4, 5}, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}},
        {{1, 2, 3, 4, 5}, 2, {1.5f, 1.5f, 3.5f, 4.5f, 4.5f}},  // a tagged slot starts anew
        {{1, 2, kNaN, 4, 5}, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}}};
    // clang-format on
    for (const Case& c : cases) {
        const auto store = averaged(c.oxhb, 1, c.taggedSlot);
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const float e = c.expected[i];
            const bool empty = e < 0.0f;
            EXPECT_EQ(store->oxhbAvg[i], e) << i;
            EXPECT_EQ(store->dxhbAvg[i], empty ? -1.0f : e / 2.0f) << i;
            EXPECT_EQ(store->rso2Avg[i], empty ? -1.0f : e * 10.0f) << i;
            EXPECT_EQ(store->tohbAvg[i], empty ? -1.0f : e + e / 2.0f) << i;
        }
    }
}

TEST(MovingAverage, Rso2CountsOnlyNeighboursAboveZeroButAlwaysTheSlotItself) {
    auto store = averaged({1, 2, 3}, 1);
    store->rso2Data[0] = 0.0f;     // left out of the rSO2 mean, kept for haemoglobin
    store->rso2Data[1] = -100.0f;  // the slot's own value always counts
    store->rso2Data[2] = 60.0f;
    Create_Av_data(*store);
    EXPECT_EQ(store->rso2Avg[1], (-100.0f + 60.0f) / 2.0f);
    EXPECT_EQ(store->oxhbAvg[1], 2.0f);
    EXPECT_EQ(store->rso2Avg[0], 0.0f);  // no neighbour counts: its own value
    EXPECT_EQ(store->oxhbAvg[0], 1.5f);
    EXPECT_EQ(store->rso2Avg[2], 60.0f);
}

TEST(MovingAverage, WindowOfZeroOrLessCopiesTheSamplesWithTohbAsTheSum) {
    for (const std::int32_t window : {0, -1}) {
        const auto store = averaged({1, 2, -1, 4}, window);
        EXPECT_EQ(std::vector<float>(store->oxhbAvg.begin(), store->oxhbAvg.begin() + 4),
                  (std::vector<float>{1, 2, -1, 4}));
        EXPECT_EQ(store->rso2Avg[1], 20.0f);
        EXPECT_EQ(store->dxhbAvg[3], 2.0f);
        EXPECT_EQ(store->tohbAvg[3], 6.0f);  // tohbData is 0 there
    }
}

TEST(MovingAverage, LargestWindowSumsInSinglePrecisionWithinTheCount) {
    std::vector<float> values(100);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<float>(i);
    }
    auto store = averaged(values, 29);
    EXPECT_EQ(store->oxhbAvg[50], 50.0f);  // 21 .. 79
    EXPECT_EQ(store->oxhbAvg[0], 14.5f);   // 0 .. 29
    EXPECT_EQ(store->oxhbAvg[99], (70.0f + 99.0f) / 2.0f);

    // The ulp at 1e8 is 8: 1e8 + 3 + 3 stays 1e8 in float when the slot comes first, while
    // adding the neighbours first or in double would give 1e8 + 8 or 1e8 + 6.
    store = averaged({3, 3, 1e8f, 0, 0}, 2);
    EXPECT_EQ(store->oxhbAvg[2], 2e7f);

    // Nothing without samples, nothing beyond the count.
    store->oxhbAvg.fill(7.0f);
    store->sampleCount = 0;
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[0], 7.0f);
    store->sampleCount = 2;
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[1], 3.0f);
    EXPECT_EQ(store->oxhbAvg[2], 7.0f);
}

}  // namespace
}  // namespace nuvisca
