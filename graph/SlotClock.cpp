#include "graph/SlotClock.h"

#include <cstdio>

#include "store/ElapsedTime.h"

namespace nuvisca {

std::uint64_t slotTag(const MeasurementStore& store, std::int32_t slot) {
    return slot == 0 ? firstSlotTime(store) : store.sampleTime[static_cast<std::size_t>(slot)];
}

ClockAnchor anchorBefore(const MeasurementStore& store, std::int32_t start) {
    std::int32_t slot = start - 1;
    while (slot > 0 && !isTaggedSlot(store, slot)) {
        --slot;
    }
    if (slot < 0) {
        slot = 0;
    }
    return {slotTag(store, slot), slot};
}

DayCountingClock::DayCountingClock(const MeasurementStore& store, std::int32_t start)
    : anchor_{slotTag(store, 0), 0}, lastTag_(anchor_.tag) {
    for (std::int32_t i = nextTaggedSlot(store, 1, start); i < start;
         i = nextTaggedSlot(store, i + 1, start)) {
        restartAt(slotTag(store, i), i);
    }
}

std::string formatClock(std::uint64_t seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu",
                  static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned long long>(seconds % 3600 / 60),
                  static_cast<unsigned long long>(seconds % 60));
    return text;
}

}  // namespace nuvisca
