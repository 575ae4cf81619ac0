#pragma once

#include <cstdint>

#include "graph/GraphViewState.h"
#include "store/Recording.h"

namespace nuvisca {

struct VisibleRange {
    std::int32_t start = 0;
    std::int32_t end = 0;
    friend bool operator==(const VisibleRange&, const VisibleRange&) = default;
};

// What holds a time scroll in: the range starts at most at slots - length - 1 (and at
// least at 0); it keeps its length, or widens to viewSpan, and may be cut at `slots`.
struct ScrollBounds {
    std::int64_t slots = 0;
    bool widenToViewSpan = true;
    bool endWithinSlots = false;
};

// The visible range moved to begin at `start` slots, before it is held in.
VisibleRange scrolledRange(const GraphViewState& view, double start, const ScrollBounds& bounds);

// The zero-length time scroll a click in the plot applies (the range widened to viewSpan and
// pulled inside the recording), as a resized view applies it so that the range fills the new
// width. The range stays as it is while a press holds it or nothing is loaded.
VisibleRange rangeAfterResize(const GraphViewState& view, const Recording& store);

// How a drag's movement is measured; the preview drawn during a press and the release that
// applies it differ in each.
struct DragRule {
    float pixelsPerSample = 1.0f;
    // Slots a point moves beyond the base scale: a drag follows the mouse at the scale the
    // range is drawn at.
    double widening = 1.0;
    std::int32_t shortestShiftRange = 1;  // slots a Shift drag leaves at least
    // Whole samples and points, each direction judged on its own, the offset in whole points
    // (the preview); else points as measured and one direction wins (the release).
    bool wholeSteps = false;
};

struct DragOutcome {
    VisibleRange range;
    float verticalOffset = 0.0f;
};

// The range and offset the pending drag (anchor to drag point, in its mode) leads to.
DragOutcome dragOutcome(const GraphViewState& view, const Recording& store, std::int32_t zoomIndex,
                        const DragRule& rule);

}  // namespace nuvisca
