#pragma once

#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// Draws the whole trend graph from scratch: headings, legend, grid and scales, time axis,
// restart marks, traces, frame and, when the style asks, the border. Writes only the
// view's measurements (when the style measures), the legend boxes and a vertical offset
// that no longer fits the zoom. `attributes` persists between draws.
void drawGraph(Painter& painter, const MeasurementStore& store, GraphViewState& view,
               TextAttributes& attributes, const GraphPageStyle& style);

}  // namespace nuvisca
