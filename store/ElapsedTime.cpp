#include "store/ElapsedTime.h"

namespace nuvisca {

std::uint64_t firstSlotTime(const Recording& store) {
    const std::uint64_t tag = store.sampleTime[0];
    return tag != continuationTag ? tag : static_cast<std::uint64_t>(startTimeOfDay(store));
}

std::uint64_t secondsSinceFirst(std::uint64_t firstTime, std::uint64_t tag) {
    constexpr std::uint64_t kSecondsPerDay = 86400;
    if (tag >= firstTime) {
        return tag - firstTime;
    }
    const std::uint64_t back = (firstTime - tag) % kSecondsPerDay;
    return back == 0 ? 0 : kSecondsPerDay - back;
}

namespace {

// The last slot at or before `slot` with a time of its own; slot 0 has one.
std::int32_t anchorOf(const Recording& store, std::int32_t slot) {
    while (slot > 0 && store.sampleTime[static_cast<std::size_t>(slot)] == continuationTag) {
        --slot;
    }
    return slot;
}

}  // namespace

std::uint64_t elapsedHalfSeconds(const Recording& store, std::int32_t slot) {
    const std::int32_t anchor = anchorOf(store, slot);
    const std::uint64_t atAnchor =
        anchor > 0 ? 2 * secondsSinceFirst(firstSlotTime(store),
                                           store.sampleTime[static_cast<std::size_t>(anchor)])
                   : 0;
    return atAnchor + static_cast<std::uint64_t>(slot - anchor);
}

std::uint64_t clockHalfSeconds(const Recording& store, std::int32_t slot) {
    const std::int32_t anchor = anchorOf(store, slot);
    const std::uint64_t tag =
        anchor > 0 ? store.sampleTime[static_cast<std::size_t>(anchor)] : firstSlotTime(store);
    return 2 * tag + static_cast<std::uint64_t>(slot - anchor);
}

}  // namespace nuvisca
