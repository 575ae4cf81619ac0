#pragma once

#include <cstdint>
#include <string>

#include "store/MeasurementStore.h"

namespace nuvisca {

// Slot 0 without a time of its own (a file that opens with a continuation or gap record) is
// taken to start at the header's start time, as the export does.
inline bool isTaggedSlot(const MeasurementStore& store, std::int32_t slot) {
    return slot == 0 || store.sampleTime[static_cast<std::size_t>(slot)] != continuationTag;
}
std::uint64_t slotTag(const MeasurementStore& store, std::int32_t slot);

// The first tagged slot in from .. end - 1, or end when there is none.
inline std::int32_t nextTaggedSlot(const MeasurementStore& store, std::int32_t from,
                                   std::int32_t end) {
    while (from < end && !isTaggedSlot(store, from)) {
        ++from;
    }
    return from;
}

// The tagged slot a slot's time counts from, and its tag.
struct ClockAnchor {
    std::uint64_t tag = 0;
    std::int32_t slot = 0;

    std::uint64_t timeOf(std::int32_t at) const {
        return tag + static_cast<std::uint64_t>(at - slot) / 2;
    }
};

// The last tagged slot before `start`, or slot 0 when there is none.
ClockAnchor anchorBefore(const MeasurementStore& store, std::int32_t start);

// "hh:mm:ss" of seconds since midnight; hours are not wrapped at 24.
std::string formatClock(std::uint64_t seconds);

}  // namespace nuvisca
