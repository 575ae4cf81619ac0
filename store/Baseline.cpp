#include "store/Baseline.h"

#include <algorithm>

#include "store/RangeStatistics.h"

namespace nuvisca {

std::optional<Baseline> measureBaseline(const Recording& store, const AveragedSeries* averaged,
                                        BaselineMethod method, std::int64_t start,
                                        std::int64_t end) {
    const auto [from, to] = clampRange(store, start, end);
    const SampleArray& series =
        averaged != nullptr ? averaged->values[kRso2] : store.measured[kRso2];
    double sum = 0.0;
    std::int32_t counted = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (rso2Counts(store, series[i], i)) {
            sum += static_cast<double>(series[i]);
            ++counted;
        }
    }
    if (counted == 0) {
        return std::nullopt;
    }
    return Baseline{sum / counted, method, static_cast<std::int32_t>(from),
                    static_cast<std::int32_t>(to), counted};
}

std::optional<Baseline> firstMinutesBaseline(const Recording& store, const AveragedSeries* averaged,
                                             std::int32_t minutes) {
    return measureBaseline(store, averaged, BaselineMethod::kFirstMinutes, 0,
                           std::int64_t{kSlotsPerMinute} * minutes);
}

double relativeThreshold(double baseline, double dropPercent) {
    return baseline * (1.0 - dropPercent / 100.0);
}

double effectiveThreshold(double absolute, const std::optional<Baseline>& baseline,
                          double dropPercent) {
    return baseline ? std::max(absolute, relativeThreshold(baseline->value, dropPercent))
                    : absolute;
}

}  // namespace nuvisca
