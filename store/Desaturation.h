#pragma once

#include <cstdint>
#include <vector>

#include "store/RangeStatistics.h"

namespace nuvisca {

inline constexpr double kDefaultMinimumSeconds = 15.0;

// A maximal run of slots whose rSO2 counts and lies below the threshold, long enough to count.
struct DesaturationEvent {
    std::int32_t start = 0;
    std::int32_t end = 0;    // one past the last slot
    float nadir = 0.0f;      // the lowest value
    double areaBelow = 0.0;  // sum of (threshold - value) x 0.5 s, in percent x minutes

    double seconds() const { return kSlotSeconds * (end - start); }
};

// The events of a range and their sums.
struct Desaturations {
    std::int32_t start = 0;  // the range, clamped to the recording
    std::int32_t end = 0;
    double threshold = kDefaultRso2Threshold;
    std::int32_t minimumSlots = 0;
    std::vector<DesaturationEvent> events;  // in slot order
    std::int32_t monitoredSlots = 0;        // slots whose rSO2 counts
    std::int32_t slotsInEvents = 0;
    double areaInEvents = 0.0;  // percent x minutes

    double secondsInEvents() const { return kSlotSeconds * slotsInEvents; }
    double monitoredSeconds() const { return kSlotSeconds * monitoredSlots; }
    // The events' area per hour of monitored time, so that cases of different length compare;
    // 0 without monitored time.
    double areaPerMonitoredHour() const;
};

// The slots a run must last to be an event: a run exactly as long as the minimum is one.
std::int32_t minimumSlotsOf(double minimumSeconds);

// The desaturation events in the slots start <= i < end (clamped to the recording) of the
// averaged rSO2 series, or of the measured one when `averaged` is null. A run ends at a slot
// whose value does not count (rso2Counts) or is not below the threshold, and before a restart
// (a slot after slot 0 with a time of its own), which may begin the next run.
Desaturations findDesaturations(const Recording& store, const AveragedSeries* averaged,
                                std::int64_t start, std::int64_t end, double threshold,
                                double minimumSeconds);

}  // namespace nuvisca
