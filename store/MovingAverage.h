#pragma once

#include "store/Recording.h"

namespace nuvisca {

// A recording's four series averaged for one setting of the moving-average box.
struct AveragedSeries {
    std::int32_t window = 0;  // neighbours on each side; the box shows window + 1
    std::array<SampleArray, kChannelCount> values{};

    std::int32_t box() const { return window + 1; }
};

// Averages slots 0 .. sampleCount - 1 of each measured series with up to `window` neighbours
// on each side into `out`. Windows never cross a slot without data or a slot with its own
// time of day.
void computeMovingAverage(const Recording& recording, std::int32_t window, AveragedSeries& out);

}  // namespace nuvisca
