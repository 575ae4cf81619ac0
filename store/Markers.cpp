#include "store/Markers.h"

#include <algorithm>
#include <utility>

#include "formats/Utf8Text.h"

namespace nuvisca {
namespace {

// The length of the valid UTF-8 character at pos, or 0.
std::size_t characterLengthAt(std::string_view text, std::size_t pos) {
    for (std::size_t length = 1; length <= 4 && pos + length <= text.size(); ++length) {
        if (isValidUtf8(text.substr(pos, length))) {
            return length;
        }
    }
    return 0;
}

bool isControl(std::string_view character) {
    const auto byte = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        return byte < 0x20u || byte == 0x7Fu;
    }
    // C1 controls, U+0080 to U+009F; and the line and paragraph separators.
    return (byte == 0xC2u && static_cast<unsigned char>(character[1]) < 0xA0u) ||
           character == "\u2028" || character == "\u2029";
}

}  // namespace

std::string cleanMarkerLabel(std::string_view text) {
    std::string cleaned;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLengthAt(text, pos);
        const std::string_view character =
            length == 0 ? std::string_view("\uFFFD") : text.substr(pos, length);
        pos += std::max<std::size_t>(length, 1);
        const std::string_view kept = isControl(character) ? std::string_view(" ") : character;
        if (cleaned.size() + kept.size() > kMarkerLabelBytes) {
            break;
        }
        cleaned += kept;
    }
    const auto first = cleaned.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return cleaned.substr(first, cleaned.find_last_not_of(' ') - first + 1);
}

std::size_t insertMarker(Markers& markers, Marker marker) {
    const auto at = std::upper_bound(
        markers.begin(), markers.end(), marker.slot,
        [](std::int32_t slot, const Marker& placed) { return slot < placed.slot; });
    const auto index = at - markers.begin();
    markers.insert(at, std::move(marker));
    return static_cast<std::size_t>(index);
}

std::optional<std::size_t> findMarker(const Markers& markers, std::string_view label) {
    const auto found = std::find_if(markers.begin(), markers.end(), [label](const Marker& marker) {
        return marker.label == label;
    });
    if (found == markers.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - markers.begin());
}

std::vector<Phase> phasesOf(const Markers& markers, std::int32_t sampleCount) {
    std::vector<Phase> phases;
    Phase open{0, 0, {}, {}};
    for (const Marker& marker : markers) {
        if (marker.slot <= 0 || marker.slot >= sampleCount) {
            if (marker.slot <= 0 && sampleCount > 0) {
                open.fromLabel = marker.label;
            }
            continue;
        }
        if (marker.slot > open.start) {
            open.end = marker.slot;
            open.toLabel = marker.label;
            phases.push_back(open);
        }
        open = {marker.slot, 0, marker.label, {}};
    }
    if (sampleCount > open.start) {
        open.end = sampleCount;
        phases.push_back(std::move(open));
    }
    return phases;
}

void MarkerHistory::recordEdit(Markers before) {
    undo_.push_back(std::move(before));
    if (undo_.size() > kDepth) {
        undo_.erase(undo_.begin());
    }
    redo_.clear();
}

namespace {

// Takes the last list of `from`, leaving `current` on `to` to step back to.
std::optional<Markers> step(std::vector<Markers>& from, std::vector<Markers>& to, Markers current) {
    if (from.empty()) {
        return std::nullopt;
    }
    Markers taken = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(current));
    return taken;
}

}  // namespace

std::optional<Markers> MarkerHistory::undo(Markers current) {
    return step(undo_, redo_, std::move(current));
}

std::optional<Markers> MarkerHistory::redo(Markers current) {
    return step(redo_, undo_, std::move(current));
}

void MarkerHistory::clear() {
    undo_.clear();
    redo_.clear();
}

}  // namespace nuvisca
