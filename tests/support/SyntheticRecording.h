#pragma once

#include <cmath>
#include <cstdint>
#include <random>

#include "store/MeasurementStore.h"

namespace nuvisca::test {

// A full 76800-slot recording with slow drift and measurement noise (rSO2 about 60 to 75 %
// with 0.5 % noise, the indices with 0.005), a pause, and a restart after it.
inline void fillSyntheticRecording(MeasurementStore& store) {
    resetMeasurementStore(store, 0.0f, 0.0f);
    std::mt19937 random(20240514);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    store.startYear = 24;
    store.startMonth = 5;
    store.startDay = 14;
    store.startHour = 8;
    store.endHour = 18;
    store.endMinute = 40;
    for (std::int32_t i = 0; i < kSampleCapacity; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const float t = static_cast<float>(i);
        const float oxhb = 0.4f + 0.08f * std::sin(t / 5000.0f) + 0.005f * noise(random);
        const float dxhb = 0.22f + 0.05f * std::cos(t / 7000.0f) + 0.005f * noise(random);
        store.oxhbData[k] = oxhb;
        store.dxhbData[k] = dxhb;
        store.tohbData[k] = oxhb + dxhb;
        store.rso2Data[k] = 67.0f + 7.0f * std::sin(t / 9000.0f) + 0.5f * noise(random);
        store.sampleTime[k] = continuationTag;
    }
    for (std::size_t k = 30000; k < 31200; ++k) {
        store.rso2Data[k] = store.oxhbData[k] = store.dxhbData[k] = store.tohbData[k] = noDataValue;
    }
    store.sampleTime[0] = 8 * 3600;
    store.sampleTime[50000] = 8 * 3600 + 25000 + 1200;  // resumes 20 minutes late
    store.sampleCount = kSampleCapacity;
    store.spanSamples = kSampleCapacity;
    store.zoomIndex = 1;
}

}  // namespace nuvisca::test
