#pragma once

#include <span>
#include <vector>

#include "graph/GraphLayout.h"
#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// One trace as runs of connected points over the visible slots, broken at every
// slot without a value and at every restart.
void buildTraceRuns(const ViewModel& model, const GraphLayout& layout, Channel trace,
                    Rso2Presence rso2Presence, PolylinePath& path);

// Where consecutive points of a run share a pixel column (floor(x x pixelsPerUnit)), keeps
// only the column's first, lowest, highest and last point, in their order along the run.
// Appends to `reduced`.
void reduceToColumns(std::span<const PointF> run, double pixelsPerUnit,
                     std::vector<PointF>& reduced);

}  // namespace nuvisca
