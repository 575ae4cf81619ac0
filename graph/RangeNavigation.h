#pragma once

#include <cstdint>

#include "graph/DragRule.h"
#include "graph/GraphViewState.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// The wheel and the keys move the visible range within the limits of a drag's release: it
// starts at 0 at the earliest and at sampleCount - length - 1 at the latest. Zooming keeps
// the length between viewSpan slots and the whole recording.

enum class NavigationKey {
    kBack,         // a tenth of the range earlier
    kForward,      // a tenth later
    kPageBack,     // a whole range earlier
    kPageForward,  // a whole range later
    kToStart,
    kToEnd,
    kZoomIn,  // around the centre
    kZoomOut,
    kWholeRecording,
    kTracesUp,  // as a vertical drag upwards
    kTracesDown,
};

// Whether the range may be moved now: a recording, a measured view and no press held.
bool canNavigate(const GraphViewState& view, const Recording& store);

// The slot (fractional) drawn at view x, by the drawing's own step.
double slotAtX(const GraphViewState& view, const Recording& store, float x);

// The range scaled by `factor` (below 1 shows fewer slots) so that the slot at x stays at x.
VisibleRange zoomedRange(const GraphViewState& view, const Recording& store, float x,
                         double factor);

// The range moved by `slots` (negative: earlier).
VisibleRange rangeScrolledBy(const GraphViewState& view, const Recording& store, double slots);

// The range begun at `start`, held in as a scroll is.
VisibleRange rangeStartingAt(const GraphViewState& view, const Recording& store, double start);

// Applies the key; returns whether the range or the offset changed.
bool navigate(GraphViewState& view, const Recording& store, std::int32_t zoomIndex,
              NavigationKey key);

// Shows the range starting at `start`, held in as a scroll is; nothing moves while a press
// is held or nothing can be navigated.
void showRangeStartingAt(ViewModel& model, double start);

// Sets the range; returns whether it changed.
bool applyRange(GraphViewState& view, VisibleRange range);

// The zoom factor of one wheel notch, and of one +/- key.
inline constexpr double kZoomStep = 1.25;

}  // namespace nuvisca
