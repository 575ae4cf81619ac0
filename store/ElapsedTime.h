#pragma once

#include <cstdint>

#include "store/Recording.h"

namespace nuvisca {

// Slot 0's time of day: its own tag, or the header's start when it has none.
std::uint64_t firstSlotTime(const Recording& store);

// Seconds from slot 0's time of day to a restart's tag; a tag earlier in the day than slot 0
// lies on the next day.
std::uint64_t secondsSinceFirst(std::uint64_t firstTime, std::uint64_t tag);

// The elapsed time of a slot in half seconds, as the CSV export's 経過時間 counts it: from
// slot 0, each restart re-synchronising to its own tag. The readout shows the same figure,
// so that a slot reads alike on screen and in the export.
std::uint64_t elapsedHalfSeconds(const Recording& store, std::int32_t slot);

// The time of day of a slot in half seconds, as the CSV export's 測定時刻 counts it before
// wrapping the hours: slot 0's time, each restart's own tag, half a second per slot between.
std::uint64_t clockHalfSeconds(const Recording& store, std::int32_t slot);

}  // namespace nuvisca
