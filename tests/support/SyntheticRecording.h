#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

#include "store/MeasurementStore.h"

namespace nuvisca::test {

// A full 76800-slot recording shaped like the sample recordings: slow waves, a random walk
// and measurement noise of a few tenths of a percent (rSO2) or thousandths (indices); a
// pause and a restart 20 minutes late after it.
inline void fillSyntheticRecording(MeasurementStore& store) {
    resetMeasurementStore(store, 0.0f, 0.0f);
    std::mt19937 random(20240514);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    const auto noise = [&] { return unit(random) + unit(random); };  // triangular in [-1, 1]
    const auto wave = [](double seconds, double period, double phase) {
        return std::sin(2.0 * std::numbers::pi * seconds / period + phase);
    };
    store.startYear = 24;
    store.startMonth = 5;
    store.startDay = 14;
    store.startHour = 8;
    store.endHour = 18;
    store.endMinute = 40;
    double walk = 0.0;
    for (std::int32_t i = 0; i < kSampleCapacity; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double s = i / 2.0;
        walk = std::clamp(walk + 0.0015 * noise(), -0.04, 0.04);
        const double rso2 = 0.675 + 0.07 * wave(s, 1900.0, 0.3) + 0.02 * wave(s, 430.0, 1.1) +
                            walk + 0.004 * noise();
        const double oxhb = 0.40 + 0.06 * wave(s, 1500.0, 0.8) + 0.6 * walk + 0.003 * noise();
        const double dxhb = 0.225 + 0.045 * wave(s, 2300.0, 2.0) - 0.3 * walk + 0.003 * noise();
        store.measured[kRso2][k] = static_cast<float>(100.0 * rso2);
        store.measured[kOxhb][k] = static_cast<float>(oxhb);
        store.measured[kDxhb][k] = static_cast<float>(dxhb);
        store.measured[kTohb][k] = static_cast<float>(oxhb + dxhb);
        store.sampleTime[k] = continuationTag;
    }
    for (std::size_t k = 30000; k < 31200; ++k) {
        store.measured[kRso2][k] = store.measured[kOxhb][k] = store.measured[kDxhb][k] =
            store.measured[kTohb][k] = noDataValue;
    }
    store.sampleTime[0] = 8 * 3600;
    store.sampleTime[50000] = 8 * 3600 + 25000 + 1200;
    store.sampleCount = kSampleCapacity;
    store.spanSamples = kSampleCapacity;
    store.zoomIndex = 1;
}

}  // namespace nuvisca::test
