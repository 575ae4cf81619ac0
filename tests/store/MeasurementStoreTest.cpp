#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/MeasurementStore.h"

namespace nuvisca {
namespace {

TEST(MeasurementStore, StartUpResetClearsCountsAndTagsAndTakesTheScreenSize) {
    auto store = makeMeasurementStore();
    store->sampleCount = store->spanSamples = 5;
    store->listSource = 2;
    store->sampleTime[3] = 123;
    resetMeasurementStore(*store, 1920.0f, 1050.0f);
    EXPECT_EQ(store->sampleCount + store->spanSamples + store->listSource, 0);
    EXPECT_EQ(store->sampleTime[3], 0u);
    EXPECT_EQ(store->screenWidth, 1920.0f);
}

TEST(MeasurementStore, SpanSamplesWrapsPastMidnight) {
    auto store = makeMeasurementStore();
    store->startHour = 23;
    store->endHour = 1;
    EXPECT_EQ(computeSpanSamples(*store), 14400);
    store->startHour = store->endHour = 10;
    store->endMinute = 1;
    store->endSecond = 30;
    EXPECT_EQ(computeSpanSamples(*store), 180);
}

TEST(MeasurementStore, LongFileNameIsCutAtAWholeCharacter) {
    auto store = makeMeasurementStore();
    std::string name;
    for (int i = 0; i < 100; ++i) {
        name += "測";  // three bytes each
    }
    setCurrentFileName(*store, name.data(), name.size());
    EXPECT_EQ(std::string(store->currentFileName.data()), name.substr(0, 255));  // 85 characters
    const std::string shifted = "a" + name;  // 1 + 3k bytes: 254 fits, 255 would split
    setCurrentFileName(*store, shifted.data(), shifted.size());
    EXPECT_EQ(std::strlen(store->currentFileName.data()), 253u);
    setCurrentFileName(*store, "x.NVD", 5);
    EXPECT_STREQ(store->currentFileName.data(), "x.NVD");
}

}  // namespace
}  // namespace nuvisca
