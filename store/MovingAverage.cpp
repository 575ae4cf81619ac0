#include "store/MovingAverage.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace nuvisca {
namespace {

// The channels averaged over the window; toHb is the sum of the averaged parts.
constexpr std::array<Channel, 3> kWindowChannels{kOxhb, kDxhb, kRso2};

// Running sums of one window, per channel. Every operation is single precision, in the order
// the neighbours are visited, so the results match to the last bit.
struct WindowSums {
    ChannelValues sum{};
    std::array<std::int32_t, kChannelCount> count{};
};

// A neighbour ends the run when it carries its own time of day or holds no measurement.
bool joinsWindow(const Recording& store, std::int64_t j) {
    const auto slot = static_cast<std::size_t>(j);
    return store.sampleTime[slot] == continuationTag && store.measured[kOxhb][slot] >= 0.0f;
}

// The slot's own values start the sums (not added to 0, which would turn -0 into +0).
WindowSums ownValues(const Recording& store, std::size_t slot) {
    WindowSums sums;
    for (const Channel channel : kWindowChannels) {
        sums.sum[channel] = store.measured[channel][slot];
        sums.count[channel] = 1;
    }
    return sums;
}

// A neighbour's rSO2 counts only when above 0; the slot's own one always counts.
void addNeighbour(const Recording& store, std::int64_t j, WindowSums& sums) {
    const auto slot = static_cast<std::size_t>(j);
    for (const Channel channel : kWindowChannels) {
        const float value = store.measured[channel][slot];
        if (channel != kRso2 || value > 0.0f) {
            sums.sum[channel] += value;
            ++sums.count[channel];
        }
    }
}

void averageSlot(const Recording& store, std::int64_t i, std::int64_t window, std::int64_t count,
                 std::array<SampleArray, kChannelCount>& averaged) {
    const auto slot = static_cast<std::size_t>(i);
    if (!(store.measured[kOxhb][slot] >= 0.0f)) {
        for (SampleArray& series : averaged) {
            series[slot] = noDataValue;
        }
        return;
    }
    WindowSums sums = ownValues(store, slot);
    if (store.sampleTime[slot] == continuationTag) {
        const std::int64_t first = std::max<std::int64_t>(i - window, 0);
        for (std::int64_t j = i - 1; j >= first && joinsWindow(store, j); --j) {
            addNeighbour(store, j, sums);
        }
    }
    const std::int64_t last = std::min(i + window, count - 1);
    for (std::int64_t k = i + 1; k <= last && joinsWindow(store, k); ++k) {
        addNeighbour(store, k, sums);
    }
    for (const Channel channel : kWindowChannels) {
        const std::int32_t n = sums.count[channel];
        averaged[channel][slot] =
            n >= 2 ? sums.sum[channel] / static_cast<float>(n) : store.measured[channel][slot];
    }
    averaged[kTohb][slot] = averaged[kOxhb][slot] + averaged[kDxhb][slot];
}

}  // namespace

void computeMovingAverage(const Recording& recording, std::int32_t window, AveragedSeries& out) {
    out.window = window;
    const std::int64_t count = std::min<std::int64_t>(recording.sampleCount, kSampleCapacity);
    for (std::int64_t i = 0; i < count; ++i) {
        averageSlot(recording, i, window, count, out.values);
    }
}

}  // namespace nuvisca
