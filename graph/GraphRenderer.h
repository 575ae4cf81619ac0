#pragma once

#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// Draws the whole trend graph from scratch, as the view's layout places it: headings,
// legend, grid and scales, time axis, restart marks, traces, frame and, when the style asks,
// the border. `attributes` persists between draws.
void drawGraph(Painter& painter, const ViewModel& model, const GraphViewState& view,
               TextAttributes& attributes, const GraphPageStyle& style);

// The attributes a draw of the recording leaves behind: the time labels' white background stays
// for every later string. A surface standing for a view that has drawn before starts here.
TextAttributes attributesAfterDraw(const Recording& store);

}  // namespace nuvisca
