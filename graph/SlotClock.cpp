#include "graph/SlotClock.h"

#include <algorithm>
#include <cstdio>

#include "store/ElapsedTime.h"

namespace nuvisca {

std::uint64_t slotTag(const Recording& store, std::int32_t slot) {
    return slot == 0 ? firstSlotTime(store) : store.sampleTime[static_cast<std::size_t>(slot)];
}

ClockAnchor anchorBefore(const Recording& store, std::int32_t start) {
    std::int32_t slot = start - 1;
    while (slot > 0 && !isTaggedSlot(store, slot)) {
        --slot;
    }
    if (slot < 0) {
        slot = 0;
    }
    return {slotTag(store, slot), slot};
}

DayCountingClock::DayCountingClock(const Recording& store, std::int32_t start)
    : anchor_{slotTag(store, 0), 0}, lastTag_(anchor_.tag) {
    for (std::int32_t i = nextTaggedSlot(store, 1, start); i < start;
         i = nextTaggedSlot(store, i + 1, start)) {
        restartAt(slotTag(store, i), i);
    }
}

std::string formatClockSpan(const Recording& store, std::int32_t start, std::int32_t end) {
    if (end <= start || start < 0) {
        return {};
    }
    // The end is timed from the last restart inside the span, not one at the end itself.
    return formatClock(clockTimeOf(store, start)) + "–" +
           formatClock(DayCountingClock(store, end).timeOf(end));
}

std::string formatSlotsDuration(std::int64_t slots) {
    const std::int64_t seconds = std::max<std::int64_t>(slots, 0) / 2;
    const bool half = slots > 0 && slots % 2 != 0;
    char text[64];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld時間%02lld分%02lld%s秒",
                      static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60),
                      static_cast<long long>(seconds % 60), half ? ".5" : "");
    } else {
        std::snprintf(text, sizeof text, "%lld分%02lld%s秒", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60), half ? ".5" : "");
    }
    return text;
}

std::string formatClock(std::uint64_t seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu",
                  static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned long long>(seconds % 3600 / 60),
                  static_cast<unsigned long long>(seconds % 60));
    return text;
}

std::optional<std::uint64_t> parseClock(std::string_view text) {
    std::uint64_t seconds = 0;
    std::size_t at = 0;
    // Each field: its digits, its largest value; hours stand first and may be one digit.
    const auto field = [&](std::size_t fewest, std::uint64_t largest) {
        std::size_t digits = 0;
        std::uint64_t value = 0;
        for (; at < text.size() && digits < 2 && text[at] >= '0' && text[at] <= '9'; ++at) {
            value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
            ++digits;
        }
        seconds = seconds * 60 + value;
        return digits >= fewest && value <= largest;
    };
    const auto colon = [&] { return at < text.size() && text[at++] == ':'; };
    if (!field(1, 99) || !colon() || !field(2, 59)) {
        return std::nullopt;
    }
    if (at == text.size()) {
        return seconds * 60;
    }
    if (!colon() || !field(2, 59) || at != text.size()) {
        return std::nullopt;
    }
    return seconds;
}

ClockSpan recordingClockSpan(const Recording& store) {
    return {slotTag(store, 0), clockTimeOf(store, std::max(store.sampleCount - 1, 0))};
}

std::optional<std::int32_t> slotAtClock(const Recording& store, std::uint64_t seconds) {
    DayCountingClock clock(store, 0);
    if (store.sampleCount <= 0 || seconds < clock.timeOf(0)) {
        return std::nullopt;
    }
    for (std::int32_t i = 0; i < store.sampleCount; ++i) {
        if (i > 0 && isTaggedSlot(store, i)) {
            clock.restartAt(slotTag(store, i), i);
        }
        if (clock.timeOf(i) >= seconds) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace nuvisca
