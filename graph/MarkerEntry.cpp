#include "graph/MarkerEntry.h"

#include <algorithm>
#include <cmath>

#include "graph/SlotClock.h"
#include "store/RangeStatistics.h"

namespace nuvisca {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, then optionally a point and more digits; none for anything else or too many digits.
std::optional<double> plainNumber(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.size() > 7 ||
        (point != std::string_view::npos && fraction.empty()) ||
        !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit)) {
        return std::nullopt;
    }
    double value = 0.0;
    for (char c : whole) {
        value = 10.0 * value + (c - '0');
    }
    double scale = 0.1;
    for (char c : fraction.substr(0, 6)) {
        value += scale * (c - '0');
        scale /= 10.0;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> parseDurationSlots(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) {
        return 0;
    }
    double seconds = 0.0;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        const std::optional<double> plain = plainNumber(text);
        if (!plain) {
            return std::nullopt;
        }
        seconds = *plain;
    } else {
        const std::string_view minutes = text.substr(0, colon);
        const std::string_view rest = text.substr(colon + 1);
        const std::optional<double> wholeMinutes =
            minutes.find('.') == std::string_view::npos ? plainNumber(minutes) : std::nullopt;
        const std::optional<double> restSeconds = plainNumber(rest);
        // Seconds as a clock writes them: two digits below 60.
        if (!wholeMinutes || !restSeconds || rest.substr(0, rest.find('.')).size() != 2 ||
            *restSeconds >= 60.0) {
            return std::nullopt;
        }
        seconds = 60.0 * *wholeMinutes + *restSeconds;
    }
    const double slots = std::round(seconds / kSlotSeconds);
    if (slots > kSampleCapacity) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(slots);
}

std::string formatDurationEntry(std::int32_t slots) {
    if (slots <= 0) {
        return {};
    }
    const std::int32_t seconds = slots / 2;
    std::string text = seconds < 60 ? std::to_string(seconds)
                                    : std::to_string(seconds / 60) + ':' +
                                          static_cast<char>('0' + seconds % 60 / 10) +
                                          static_cast<char>('0' + seconds % 10);
    if (slots % 2 != 0) {
        text += ".5";
    }
    return text;
}

MarkerEntry entryOf(const Recording& recording, const Marker& marker) {
    return {marker.label, formatClock(clockTimeOf(recording, marker.slot)),
            formatDurationEntry(marker.durationSlots)};
}

std::variant<Marker, MarkerEntryError> markerFromEntry(const Recording& recording,
                                                       const MarkerEntry& entry,
                                                       const Marker& before) {
    Marker marker{before.slot, 0, cleanMarkerLabel(entry.label)};
    if (marker.label.empty()) {
        return MarkerEntryError::kNoLabel;
    }
    const std::string_view clock = trimmed(entry.clock);
    if (clock != formatClock(clockTimeOf(recording, before.slot))) {
        const std::optional<std::uint64_t> seconds = parseClock(clock);
        if (!seconds) {
            return MarkerEntryError::kUnreadableClock;
        }
        const std::optional<std::int32_t> slot = slotAtClock(recording, *seconds);
        if (!slot) {
            return MarkerEntryError::kClockOutside;
        }
        marker.slot = *slot;
    }
    const std::optional<std::int32_t> duration = parseDurationSlots(entry.duration);
    if (!duration) {
        return MarkerEntryError::kUnreadableDuration;
    }
    marker.durationSlots = *duration;
    if (marker.endSlot() > recording.sampleCount) {
        return MarkerEntryError::kPastTheEnd;
    }
    return marker;
}

std::optional<SlotSpan> phaseBetween(const Markers& markers, std::size_t first,
                                     std::optional<std::size_t> second, std::int32_t sampleCount) {
    if (first >= markers.size() || (second && *second >= markers.size())) {
        return std::nullopt;
    }
    SlotSpan span{markers[first].slot, sampleCount};
    if (second) {
        span.end = markers[*second].slot;
        if (span.end < span.start) {
            std::swap(span.start, span.end);
        }
    } else {
        const auto later =
            std::find_if(markers.begin() + static_cast<std::ptrdiff_t>(first), markers.end(),
                         [&](const Marker& marker) { return marker.slot > span.start; });
        if (later != markers.end()) {
            span.end = later->slot;
        }
    }
    span.start = std::clamp(span.start, 0, sampleCount);
    span.end = std::clamp(span.end, 0, sampleCount);
    if (span.empty()) {
        return std::nullopt;
    }
    return span;
}

}  // namespace nuvisca
