#pragma once

#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// Draws the whole trend graph from scratch, as the view's layout places it: headings,
// legend, grid and scales, time axis, restart marks, markers, traces, frame and, when the style
// asks, the border. Returns whether it drew a recording's samples.
//
// On a surface that has drawn samples before (`drawnBefore`), the headings, the legend and
// the scale labels lie on the white the time labels are drawn on, as they always have.
bool drawGraph(Painter& painter, const ViewModel& model, const GraphViewState& view,
               bool drawnBefore, const GraphPageStyle& style);

// The background of the text drawn before the time labels.
std::optional<Rgba> carriedTextBackground(bool drawnBefore);

}  // namespace nuvisca
