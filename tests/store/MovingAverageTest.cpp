#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "store/MeasurementStore.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Fills slots 0 .. oxhb.size() - 1; rSO2 is 10 x oxHb and dxHb is oxHb / 2 unless given.
void fill(MeasurementStore& store, const std::vector<float>& oxhb, std::int32_t window) {
    for (std::size_t i = 0; i < oxhb.size(); ++i) {
        store.oxhbData[i] = oxhb[i];
        store.rso2Data[i] = oxhb[i] * 10.0f;
        store.dxhbData[i] = oxhb[i] / 2.0f;
        store.tohbData[i] = 0.0f;  // never read: the averaged toHb is the sum of the parts
        store.sampleTime[i] = continuationTag;
    }
    store.sampleCount = static_cast<std::int32_t>(oxhb.size());
    store.averageWindow = window;
}

std::vector<float> oxhbAvg(const MeasurementStore& store) {
    return {store.oxhbAvg.begin(), store.oxhbAvg.begin() + store.sampleCount};
}

struct WindowCase {
    const char* name;
    std::vector<float> oxhb;
    int taggedSlot;  // slot that carries its own time of day, or -1
    std::vector<float> expected;
};

class MovingAverageExamples : public ::testing::TestWithParam<WindowCase> {};

TEST_P(MovingAverageExamples, OxhbAveragesStopAtBreaksAndTaggedSlots) {
    const WindowCase& c = GetParam();
    auto store = makeMeasurementStore();
    fill(*store, c.oxhb, 1);
    if (c.taggedSlot >= 0) {
        store->sampleTime[static_cast<std::size_t>(c.taggedSlot)] = 36000;
    }
    Create_Av_data(*store);
    EXPECT_EQ(oxhbAvg(*store), c.expected);
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
        const bool empty = c.expected[i] < 0.0f;
        EXPECT_EQ(store->dxhbAvg[i], empty ? -1.0f : c.expected[i] / 2.0f) << i;
        EXPECT_EQ(store->rso2Avg[i], empty ? -1.0f : c.expected[i] * 10.0f) << i;
        EXPECT_EQ(store->tohbAvg[i], empty ? -1.0f : store->oxhbAvg[i] + store->dxhbAvg[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window1, MovingAverageExamples,
    ::testing::Values(
        WindowCase{"AllContinuation", {1, 2, 3, 4, 5}, -1, {1.5f, 2, 3, 4, 4.5f}},
        WindowCase{"BreakInTheMiddle", {1, 2, -1, 4, 5}, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}},
        WindowCase{"TaggedSlotStartsASegment", {1, 2, 3, 4, 5}, 2, {1.5f, 1.5f, 3.5f, 4.5f, 4.5f}},
        WindowCase{"NaNIsABreak", {1, 2, kNaN, 4, 5}, -1, {1.5f, 1.5f, -1, 4.5f, 4.5f}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MovingAverageTest, SumsInSinglePrecisionStartingWithTheSlotItself) {
    // The ulp at 1e8 is 8: 1e8 + 3 + 3 stays 1e8 in float when the slot comes first, while
    // adding the neighbours first or in double would give 1e8 + 8 or 1e8 + 6.
    auto store = makeMeasurementStore();
    fill(*store, {3, 3, 1e8f, 0, 0}, 2);
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[2], 1e8f / 5.0f);
    EXPECT_EQ(store->oxhbAvg[2], 2e7f);
}

TEST(MovingAverageTest, Rso2AndHaemoglobinKeepSeparateCounts) {
    auto store = makeMeasurementStore();
    fill(*store, {1, 2, 3}, 1);
    store->rso2Data = {};
    store->rso2Data[0] = 0.0f;     // left out of the rSO2 mean, kept for haemoglobin
    store->rso2Data[1] = -100.0f;  // the slot's own value always counts
    store->rso2Data[2] = 60.0f;
    Create_Av_data(*store);
    EXPECT_EQ(store->rso2Avg[1], (-100.0f + 60.0f) / 2.0f);
    EXPECT_EQ(store->oxhbAvg[1], 2.0f);
    // Slot 0: only its own rSO2 counts (neighbour -100 is not > 0), so it keeps its value.
    EXPECT_EQ(store->rso2Avg[0], 0.0f);
    EXPECT_EQ(store->oxhbAvg[0], 1.5f);
    EXPECT_EQ(store->rso2Avg[2], 60.0f);
}

TEST(MovingAverageTest, WindowOfZeroOrLessCopiesTheSamplesWithTohbAsTheSum) {
    for (const std::int32_t window : {0, -1}) {
        auto store = makeMeasurementStore();
        fill(*store, {1, 2, -1, 4}, window);
        Create_Av_data(*store);
        EXPECT_EQ(oxhbAvg(*store), (std::vector<float>{1, 2, -1, 4})) << window;
        EXPECT_EQ(store->dxhbAvg[3], 2.0f);
        EXPECT_EQ(store->tohbAvg[3], 6.0f);  // tohbData is 0 there
        EXPECT_EQ(store->rso2Avg[1], 20.0f);
    }
}

TEST(MovingAverageTest, WritesNothingWithoutSamplesAndNothingBeyondTheCount) {
    auto store = makeMeasurementStore();
    fill(*store, {1, 2, 3}, 1);
    store->oxhbAvg.fill(7.0f);
    store->sampleCount = 0;
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[0], 7.0f);

    store->sampleCount = 2;  // slot 2 holds data but lies beyond the count
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[1], 1.5f);
    EXPECT_EQ(store->oxhbAvg[2], 7.0f);
}

TEST(MovingAverageTest, LargestWindowCoversUpToTwentyNineNeighboursEachSide) {
    auto store = makeMeasurementStore();
    std::vector<float> values(100);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<float>(i);
    }
    fill(*store, values, 29);
    Create_Av_data(*store);
    EXPECT_EQ(store->oxhbAvg[50], 50.0f);  // 21 .. 79, symmetric
    EXPECT_EQ(store->oxhbAvg[0], 14.5f);   // 0 .. 29
    EXPECT_EQ(store->oxhbAvg[99], (70.0f + 99.0f) / 2.0f);
}

}  // namespace
}  // namespace nuvisca
