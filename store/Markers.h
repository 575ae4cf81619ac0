#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nuvisca {

// The longest label kept, in bytes of UTF-8.
inline constexpr std::size_t kMarkerLabelBytes = 120;
// The most markers a recording keeps; more are not added or read.
inline constexpr std::size_t kMarkerLimit = 2000;

// A labelled moment of a recording, such as the start of surgery, at a slot and optionally
// lasting a number of slots.
struct Marker {
    std::int32_t slot = 0;
    std::int32_t durationSlots = 0;  // 0: a moment
    std::string label;

    std::int32_t endSlot() const { return slot + durationSlots; }
    friend bool operator==(const Marker&, const Marker&) = default;
};

// In slot order; markers at one slot keep the order they were placed in.
using Markers = std::vector<Marker>;

// The label as kept: control characters (tabs and line breaks among them) become spaces,
// spaces at the ends go, and the rest is cut to kMarkerLabelBytes without splitting a
// character. Bytes that are not UTF-8 become U+FFFD.
std::string cleanMarkerLabel(std::string_view text);

// Places the marker in slot order, after those at its slot; returns its index.
std::size_t insertMarker(Markers& markers, Marker marker);

// The first marker, in slot order, with exactly this label.
std::optional<std::size_t> findMarker(const Markers& markers, std::string_view label);

// A stretch of the recording between consecutive marker slots, start <= i < end. An empty
// label stands for the recording's start or end.
struct Phase {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string fromLabel;
    std::string toLabel;
    friend bool operator==(const Phase&, const Phase&) = default;
};

// The stretches the markers inside the recording cut its sampleCount slots into, from the
// start to the end, leaving out empty ones.
std::vector<Phase> phasesOf(const Markers& markers, std::int32_t sampleCount);

// The marker lists before each edit, to step back and forth through them.
class MarkerHistory {
public:
    static constexpr std::size_t kDepth = 500;

    // An edit was made to `before`: it can be undone, and nothing is left to redo.
    void recordEdit(Markers before);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The list before the last edit; `current` becomes redoable. None when nothing to undo.
    std::optional<Markers> undo(Markers current);
    std::optional<Markers> redo(Markers current);
    void clear();

private:
    std::vector<Markers> undo_;
    std::vector<Markers> redo_;
};

}  // namespace nuvisca
