#pragma once

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// The graph's mouse handlers. `windowPoint` is the event's position, y upwards; the
// handlers subtract (viewOriginX, viewOriginY) from it. Each returns whether the graph
// needs a redraw. A drag is only previewed by the drawing; the movement is applied when a
// plain drag changes direction and on release.

// Starts a press inside the plot (taking Shift or Control as its mode) and toggles the
// trace whose legend entry is hit. A press with Alt (Option on macOS) starts a selection
// instead: plain, Shift and Control drags already move the range, its end and the traces.
bool mouseDown(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool shift,
               bool control, bool alt = false);

// Follows the mouse while it stays inside the plot.
bool mouseDragged(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool shift,
                  bool control, bool alt = false);

// Applies the pending movement and ends the press.
bool mouseUp(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool shift,
             bool control, bool alt = false);

}  // namespace nuvisca
