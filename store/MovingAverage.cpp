#include "store/MovingAverage.h"

#include <algorithm>
#include <cstdint>

namespace nuvisca {
namespace {

// Running sums of one window. Every operation is single precision, in the order the
// neighbours are visited, so the results match to the last bit.
struct WindowSums {
    float rso2 = 0.0f;
    std::int32_t rso2Count = 1;
    float oxhb = 0.0f;
    float dxhb = 0.0f;
    std::int32_t hbCount = 1;
};

// A neighbour ends the run when it carries its own time of day or holds no measurement.
bool joinsWindow(const MeasurementStore& store, std::int64_t j) {
    const auto slot = static_cast<std::size_t>(j);
    return store.sampleTime[slot] == continuationTag && store.measured[kOxhb][slot] >= 0.0f;
}

void addNeighbour(const MeasurementStore& store, std::int64_t j, WindowSums& sums) {
    const auto slot = static_cast<std::size_t>(j);
    if (store.measured[kRso2][slot] > 0.0f) {
        sums.rso2 += store.measured[kRso2][slot];
        ++sums.rso2Count;
    }
    sums.dxhb += store.measured[kDxhb][slot];
    sums.oxhb += store.measured[kOxhb][slot];
    ++sums.hbCount;
}

void averageSlot(MeasurementStore& store, std::int64_t i, std::int64_t window, std::int64_t count) {
    const auto slot = static_cast<std::size_t>(i);
    const float oxhb = store.measured[kOxhb][slot];
    if (!(oxhb >= 0.0f)) {
        store.averaged[kRso2][slot] = noDataValue;
        store.averaged[kOxhb][slot] = noDataValue;
        store.averaged[kDxhb][slot] = noDataValue;
        store.averaged[kTohb][slot] = noDataValue;
        return;
    }
    const float rso2 = store.measured[kRso2][slot];
    const float dxhb = store.measured[kDxhb][slot];
    WindowSums sums{rso2, 1, oxhb, dxhb, 1};

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

    store.averaged[kRso2][slot] =
        sums.rso2Count >= 2 ? sums.rso2 / static_cast<float>(sums.rso2Count) : rso2;
    if (sums.hbCount >= 2) {
        const auto divisor = static_cast<float>(sums.hbCount);
        store.averaged[kOxhb][slot] = sums.oxhb / divisor;
        store.averaged[kDxhb][slot] = sums.dxhb / divisor;
    } else {
        store.averaged[kOxhb][slot] = oxhb;
        store.averaged[kDxhb][slot] = dxhb;
    }
    store.averaged[kTohb][slot] = store.averaged[kOxhb][slot] + store.averaged[kDxhb][slot];
}

}  // namespace

void computeMovingAverage(MeasurementStore& store) {
    const std::int64_t count = std::min<std::int64_t>(store.sampleCount, kSampleCapacity);
    const std::int64_t window = store.averageWindow;
    for (std::int64_t i = 0; i < count; ++i) {
        averageSlot(store, i, window, count);
    }
}

}  // namespace nuvisca
