#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/MeasurementStore.h"

namespace nuvisca {
namespace {

TEST(MeasurementStoreTest, StartUpResetClearsCountsAndTagsButNotSamples) {
    auto store = makeMeasurementStore();
    store->sampleCount = 5;
    store->spanSamples = 7;
    store->listSource = 2;
    store->sampleTime[3] = 123;
    store->oxhbData[3] = 0.5f;
    resetMeasurementStore(*store, 1920.0f, 1050.0f);
    EXPECT_EQ(store->sampleCapacity, 76800u);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_EQ(store->spanSamples, 0);
    EXPECT_EQ(store->listSource, 0);
    EXPECT_EQ(store->sampleTime[3], 0u);
    EXPECT_EQ(store->oxhbData[3], 0.5f);
    EXPECT_EQ(store->screenWidth, 1920.0f);
}

TEST(MeasurementStoreTest, SpanSamplesWrapsPastMidnight) {
    auto store = makeMeasurementStore();
    store->startHour = 23;
    store->endHour = 1;
    EXPECT_EQ(computeSpanSamples(*store), 14400);
    store->startHour = 10;
    store->endHour = 10;
    store->endMinute = 1;
    store->endSecond = 30;
    EXPECT_EQ(computeSpanSamples(*store), 180);
}

TEST(MeasurementStoreTest, LongFileNameIsCutAtAWholeCharacter) {
    auto store = makeMeasurementStore();
    std::string name;
    for (int i = 0; i < 100; ++i) {
        name += "測";  // three bytes each
    }
    setCurrentFileName(*store, name.data(), name.size());
    const std::size_t length = std::strlen(store->currentFileName.data());
    EXPECT_EQ(length, 255u);  // 85 whole characters
    EXPECT_EQ(std::string(store->currentFileName.data()), name.substr(0, 255));

    const std::string shifted = "a" + name;  // 1 + 3k bytes: 254 fits, 255 would split
    setCurrentFileName(*store, shifted.data(), shifted.size());
    EXPECT_EQ(std::strlen(store->currentFileName.data()), 253u);

    setCurrentFileName(*store, "x.NVD", 5);
    EXPECT_STREQ(store->currentFileName.data(), "x.NVD");
}

}  // namespace
}  // namespace nuvisca
