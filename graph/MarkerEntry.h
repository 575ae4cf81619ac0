#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "graph/GraphViewState.h"
#include "store/Markers.h"
#include "store/Recording.h"

namespace nuvisca {

// Slots of a duration typed as seconds ("90", "12.5") or minutes and seconds ("1:30",
// "1:30.5"), rounded to the nearest slot; blank text is 0. None for other text.
std::optional<std::int32_t> parseDurationSlots(std::string_view text);

// The duration as the editor offers it: blank for none, seconds under a minute, else M:SS,
// with ".5" for a half second.
std::string formatDurationEntry(std::int32_t slots);

// A marker as typed in the editor.
struct MarkerEntry {
    std::string label;
    std::string clock;  // as the time axis counts it
    std::string duration;
};

// The editor's texts for a marker.
MarkerEntry entryOf(const Recording& recording, const Marker& marker);

enum class MarkerEntryError {
    kNoLabel,          // nothing to add; not worth a warning
    kUnreadableClock,  // not HH:MM or HH:MM:SS
    kClockOutside,     // no slot of the recording at that time
    kUnreadableDuration,
    kPastTheEnd,  // the duration runs past the recording's last slot
};

// The marker an entry describes. `before` is the marker it edits (or the slot proposed for a
// new one): its slot stays when the clock text is unchanged, since the clock counts whole
// seconds and a slot may be the second half of one.
std::variant<Marker, MarkerEntryError> markerFromEntry(const Recording& recording,
                                                       const MarkerEntry& entry,
                                                       const Marker& before);

// The slots between two chosen markers, or from one to the next marker at a later slot (the
// recording's end after the last); none when that holds no slot.
std::optional<SlotSpan> phaseBetween(const Markers& markers, std::size_t first,
                                     std::optional<std::size_t> second, std::int32_t sampleCount);

}  // namespace nuvisca
