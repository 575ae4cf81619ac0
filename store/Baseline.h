#pragma once

#include <cstdint>
#include <optional>

#include "store/MovingAverage.h"

namespace nuvisca {

inline constexpr double kDefaultDropPercent = 20.0;
inline constexpr std::int32_t kSlotsPerMinute = 120;

enum class BaselineMethod { kFirstMinutes, kRange, kTyped };

// The rSO2 reference desaturation is measured against, and how it was set.
struct Baseline {
    double value = 0.0;  // percent
    BaselineMethod method = BaselineMethod::kTyped;
    std::int32_t start = 0;  // the slots it was measured over, start <= i < end; 0 when typed
    std::int32_t end = 0;
    std::int32_t counted = 0;  // the rSO2 values it is the mean of; 0 when typed
    friend bool operator==(const Baseline&, const Baseline&) = default;
};

// The mean, in double precision and slot order, of the rSO2 values that count (rso2Counts) in
// the slots start <= i < end (clamped to the recording) of the averaged series, or of the
// measured one when `averaged` is null; none when no value counts there.
std::optional<Baseline> measureBaseline(const Recording& store, const AveragedSeries* averaged,
                                        BaselineMethod method, std::int64_t start,
                                        std::int64_t end);

// The first `minutes` minutes of the recording: slots 0 <= i < 120 x minutes.
std::optional<Baseline> firstMinutesBaseline(const Recording& store, const AveragedSeries* averaged,
                                             std::int32_t minutes);

// The level a fall of dropPercent from the baseline reaches.
double relativeThreshold(double baseline, double dropPercent);

// The threshold desaturation is judged against: the absolute one, or with a baseline the higher
// of it and the relative one, so that whichever is reached first counts.
double effectiveThreshold(double absolute, const std::optional<Baseline>& baseline,
                          double dropPercent);

}  // namespace nuvisca
