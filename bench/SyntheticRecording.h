#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <tuple>

#include "store/Recording.h"

namespace nuvisca::bench {

// A full 76800-slot recording shaped like the sample recordings: slow waves, a random walk
// and measurement noise of a few tenths of a percent (rSO2) or thousandths (indices); a
// pause and a restart 20 minutes late after it.
inline void fillSyntheticRecording(Recording& store) {
    std::mt19937 random(20240514);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    const auto noise = [&] { return unit(random) + unit(random); };  // triangular in [-1, 1]
    const auto wave = [](double seconds, double period, double phase) {
        return std::sin(2.0 * std::numbers::pi * seconds / period + phase);
    };
    std::tie(store.startYear, store.startMonth, store.startDay, store.startHour, store.endHour,
             store.endMinute) = std::tuple(24, 5, 14, 8, 18, 40);
    double walk = 0.0;
    for (std::int32_t i = 0; i < kSampleCapacity; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double s = i / 2.0;
        walk = std::clamp(walk + 0.0015 * noise(), -0.04, 0.04);
        const double rso2 = 0.675 + 0.07 * wave(s, 1900.0, 0.3) + 0.02 * wave(s, 430.0, 1.1) +
                            walk + 0.004 * noise();
        const double oxhb = 0.40 + 0.06 * wave(s, 1500.0, 0.8) + 0.6 * walk + 0.003 * noise();
        const double dxhb = 0.225 + 0.045 * wave(s, 2300.0, 2.0) - 0.3 * walk + 0.003 * noise();
        const bool paused = k >= 30000 && k < 31200;
        putSample(store, k,
                  paused ? ChannelValues{noDataValue, noDataValue, noDataValue, noDataValue}
                         : ChannelValues{static_cast<float>(oxhb), static_cast<float>(dxhb),
                                         static_cast<float>(oxhb + dxhb),
                                         static_cast<float>(100.0 * rso2)});
        store.sampleTime[k] = continuationTag;
    }
    store.sampleTime[0] = 8 * 3600;
    store.sampleTime[50000] = 8 * 3600 + 25000 + 1200;
    store.sampleCount = kSampleCapacity;
    store.spanSamples = kSampleCapacity;
}

}  // namespace nuvisca::bench
