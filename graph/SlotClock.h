#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/Recording.h"

namespace nuvisca {

// Slot 0 without a time of its own (a file that opens with a continuation or gap record) is
// taken to start at the header's start time, as the export does.
inline bool isTaggedSlot(const Recording& store, std::int32_t slot) {
    return slot == 0 || store.sampleTime[static_cast<std::size_t>(slot)] != continuationTag;
}
std::uint64_t slotTag(const Recording& store, std::int32_t slot);

// The first tagged slot in from .. end - 1, or end when there is none.
inline std::int32_t nextTaggedSlot(const Recording& store, std::int32_t from, std::int32_t end) {
    while (from < end && !isTaggedSlot(store, from)) {
        ++from;
    }
    return from;
}

// The slots of an ascending list in from .. end - 1.
inline std::span<const std::int32_t> slotsWithin(std::span<const std::int32_t> slots,
                                                 std::int32_t from, std::int32_t end) {
    const auto first = std::lower_bound(slots.begin(), slots.end(), from);
    return {first, std::lower_bound(first, slots.end(), end)};
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
ClockAnchor anchorBefore(const Recording& store, std::int32_t start);

// The time axis's clock. A restart whose tag is earlier than the tag before it has passed
// midnight, so the clock counts it and all that follows on the next day and keeps rising.
class DayCountingClock {
public:
    // Set at the last tagged slot before `start` (slot 0 when none), days before it counted.
    DayCountingClock(const Recording& store, std::int32_t start);

    void restartAt(std::uint64_t tag, std::int32_t slot) {
        if (tag < lastTag_) {
            days_ += 86400;
        }
        lastTag_ = tag;
        anchor_ = {tag + days_, slot};
    }
    std::uint64_t timeOf(std::int32_t slot) const { return anchor_.timeOf(slot); }
    // The first slot from the one the clock was set at whose time reaches `time`, were there no
    // restart before it.
    std::int64_t firstSlotReaching(std::uint64_t time) const {
        if (time <= anchor_.tag) {
            return anchor_.slot;
        }
        const std::uint64_t slots = std::min<std::uint64_t>(time - anchor_.tag, 1u << 30) * 2;
        return anchor_.slot + static_cast<std::int64_t>(slots);
    }
    // The time of the slot the clock was last set at.
    std::uint64_t setTime() const { return anchor_.tag; }

private:
    ClockAnchor anchor_;
    std::uint64_t lastTag_ = 0;
    std::uint64_t days_ = 0;
};

// The time of a slot as the time axis counts it.
inline std::uint64_t clockTimeOf(const Recording& store, std::int32_t slot) {
    return DayCountingClock(store, slot + 1).timeOf(slot);
}

// "hh:mm:ss" of seconds since midnight; hours are not wrapped at 24.
std::string formatClock(std::uint64_t seconds);

// "hh:mm:ss–hh:mm:ss" of the slots start <= i < end: the first slot's time and the time the
// last one ends at, as the time axis counts them; empty for no slots.
std::string formatClockSpan(const Recording& store, std::int32_t start, std::int32_t end);

// A length of slots in hours, minutes and seconds, as a panel names it: "3分01秒",
// "1時間02分03秒", "0分00.5秒" for a single slot.
std::string formatSlotsDuration(std::int64_t slots);

// Seconds of "H:MM", "HH:MM", "H:MM:SS" or "HH:MM:SS" (minutes and seconds 00 to 59, hours
// not wrapped, so 24:15 is a quarter past midnight of the next day); none for other text.
std::optional<std::uint64_t> parseClock(std::string_view text);

// The times of the recording's first and last slot, as the time axis counts them.
struct ClockSpan {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
};
ClockSpan recordingClockSpan(const Recording& store);

// The first slot whose time, as the time axis counts it, is at or after `seconds`: in a pause,
// the slot that resumes the recording. None before the first slot's time, after every slot's
// time or without samples.
std::optional<std::int32_t> slotAtClock(const Recording& store, std::uint64_t seconds);

}  // namespace nuvisca
