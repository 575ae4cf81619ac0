#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "store/MovingAverage.h"

namespace nuvisca {

enum class StatisticsSeries { Measured, Averaged };

inline constexpr double kDefaultRso2Threshold = 50.0;
inline constexpr double kSlotSeconds = 0.5;

// Whether an rSO2 value shown at a slot counts: the measured rSO2 exceeds 0.01 (as the graph
// decides) and the shown value is not the no-data mark, which an averaged slot whose
// haemoglobin is missing carries.
inline bool rso2Counts(const Recording& store, float shown, std::size_t slot) {
    return static_cast<double>(store.measured[kRso2][slot]) > 0.01 && shown >= 0.0f;
}

// Slots start <= i < end, clamped to the recording: start to 0 .. sampleCount, end to
// start .. sampleCount.
struct ClampedRange {
    std::size_t start = 0;
    std::size_t end = 0;
};
ClampedRange clampRange(const Recording& store, std::int64_t start, std::int64_t end);

struct StatisticsRequest {
    // Clamped: start to 0 .. sampleCount, end to start .. sampleCount; slots start <= i < end.
    std::int64_t start = 0;
    std::int64_t end = std::numeric_limits<std::int64_t>::max();
    double rso2Threshold = kDefaultRso2Threshold;  // percent
};

// min and max are meaningful only when count > 0.
struct ChannelStatistics {
    std::int32_t count = 0;
    double mean = 0.0;
    float min = 0.0f;
    float max = 0.0f;
};

struct RangeStatistics {
    std::int32_t start = 0;
    std::int32_t end = 0;
    StatisticsSeries series = StatisticsSeries::Measured;
    std::int32_t averageBox = 1;  // the number the moving-average box shows; 1 when measured
    std::array<ChannelStatistics, kChannelCount> channels{};  // indexed by Channel
    double rso2Threshold = kDefaultRso2Threshold;
    std::int32_t rso2BelowCount = 0;  // counted rSO2 values below the threshold
    double rso2BelowSeconds = 0.0;
    double rso2AreaBelow = 0.0;  // percent x minutes
};

// Statistics over the requested slots of the averaged series, or of the measured ones when
// `averaged` is null. rSO2 counts where the measured rSO2 exceeds 0.01 (as the
// graph decides) and the chosen value is not the no-data mark (rso2Counts); oxHb, dxHb and toHb
// count where the chosen value is >= 0. Sums run in double precision in slot order.
RangeStatistics computeRangeStatistics(const Recording& recording, const AveragedSeries* averaged,
                                       const StatisticsRequest& request);

}  // namespace nuvisca
