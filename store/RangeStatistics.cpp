#include "store/RangeStatistics.h"

#include <algorithm>

namespace nuvisca {
namespace {

// Whether slot i of the chosen series counts toward the channel's statistics.
bool counts(const Recording& store, Channel channel, float value, std::size_t i) {
    return channel == kRso2 ? rso2Counts(store, value, i) : value >= 0.0f;
}

struct Accumulator {
    ChannelStatistics stats;
    double sum = 0.0;

    void add(float value) {
        if (stats.count == 0) {
            stats.min = stats.max = value;
        } else {
            stats.min = std::min(stats.min, value);
            stats.max = std::max(stats.max, value);
        }
        ++stats.count;
        sum += static_cast<double>(value);
    }

    ChannelStatistics finish() {
        if (stats.count > 0) {
            stats.mean = sum / static_cast<double>(stats.count);
        }
        return stats;
    }
};

}  // namespace

ClampedRange clampRange(const Recording& store, std::int64_t start, std::int64_t end) {
    const std::int64_t count = std::clamp<std::int64_t>(store.sampleCount, 0, kSampleCapacity);
    const std::int64_t from = std::clamp<std::int64_t>(start, 0, count);
    return {static_cast<std::size_t>(from),
            static_cast<std::size_t>(std::clamp<std::int64_t>(end, from, count))};
}

RangeStatistics computeRangeStatistics(const Recording& store, const AveragedSeries* averaged,
                                       const StatisticsRequest& request) {
    const auto [start, end] = clampRange(store, request.start, request.end);
    const auto& series = averaged != nullptr ? averaged->values : store.measured;

    RangeStatistics result;
    result.start = static_cast<std::int32_t>(start);
    result.end = static_cast<std::int32_t>(end);
    result.series = averaged != nullptr ? StatisticsSeries::Averaged : StatisticsSeries::Measured;
    result.averageBox = averaged != nullptr ? averaged->box() : 1;
    result.rso2Threshold = request.rso2Threshold;

    double shortfall = 0.0;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        const auto channel = static_cast<Channel>(c);
        Accumulator accumulator;
        for (std::size_t i = start; i < end; ++i) {
            const float value = series[c][i];
            if (!counts(store, channel, value, i)) {
                continue;
            }
            accumulator.add(value);
            if (channel == kRso2 && static_cast<double>(value) < request.rso2Threshold) {
                ++result.rso2BelowCount;
                shortfall += request.rso2Threshold - static_cast<double>(value);
            }
        }
        result.channels[c] = accumulator.finish();
    }
    result.rso2BelowSeconds = kSlotSeconds * result.rso2BelowCount;
    result.rso2AreaBelow = shortfall * kSlotSeconds / 60.0;
    return result;
}

}  // namespace nuvisca
