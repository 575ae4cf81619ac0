#include "store/Desaturation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace nuvisca {

double Desaturations::areaPerMonitoredHour() const {
    return monitoredSlots > 0 ? areaInEvents / (monitoredSeconds() / 3600.0) : 0.0;
}

std::int32_t minimumSlotsOf(double minimumSeconds) {
    return static_cast<std::int32_t>(std::ceil(minimumSeconds / kSlotSeconds));
}

Desaturations findDesaturations(const Recording& store, const AveragedSeries* averaged,
                                std::int64_t start, std::int64_t end, double threshold,
                                double minimumSeconds) {
    const auto [from, to] = clampRange(store, start, end);
    const SampleArray& series =
        averaged != nullptr ? averaged->values[kRso2] : store.measured[kRso2];
    Desaturations result;
    result.start = static_cast<std::int32_t>(from);
    result.end = static_cast<std::int32_t>(to);
    result.threshold = threshold;
    result.minimumSlots = minimumSlotsOf(minimumSeconds);

    std::optional<DesaturationEvent> run;
    double shortfall = 0.0;
    const auto close = [&](std::size_t at) {
        if (run && static_cast<std::int32_t>(at) - run->start >= result.minimumSlots) {
            run->end = static_cast<std::int32_t>(at);
            run->areaBelow = shortfall * kSlotSeconds / 60.0;
            result.slotsInEvents += run->end - run->start;
            result.areaInEvents += run->areaBelow;
            result.events.push_back(*run);
        }
        run.reset();
    };
    for (std::size_t i = from; i < to; ++i) {
        if (i > 0 && store.sampleTime[i] != continuationTag) {
            close(i);
        }
        const float value = series[i];
        const bool counts = rso2Counts(store, value, i);
        result.monitoredSlots += counts ? 1 : 0;
        if (!counts || static_cast<double>(value) >= threshold) {
            close(i);
            continue;
        }
        if (!run) {
            run = DesaturationEvent{static_cast<std::int32_t>(i), 0, value, 0.0};
            shortfall = 0.0;
        }
        run->nadir = std::min(run->nadir, value);
        shortfall += threshold - static_cast<double>(value);
    }
    close(to);
    return result;
}

}  // namespace nuvisca
