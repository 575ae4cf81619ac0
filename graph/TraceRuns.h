#pragma once

#include <span>
#include <vector>

#include "graph/GraphLayout.h"
#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// The width of a trace, in points.
inline constexpr double kTraceLineWidth = 2.0;

// One trace as runs of connected points over the visible slots, broken at every
// slot without a value and at every restart. Where slots are denser than the pixel columns
// (floor(x x pixelsPerUnit); 0: none), an unbroken column holds only its first, lowest,
// highest and last point, read from the model's trace index.
// `starts` are the layout's column starts, when the caller has them for several traces.
void buildTraceRuns(const ViewModel& model, const GraphLayout& layout, Channel trace,
                    Rso2Presence rso2Presence, double pixelsPerUnit, PolylinePath& path,
                    std::span<const std::int32_t> starts = {});

// The first slot of each pixel column (floor(x x pixelsPerUnit)) the visible slots fall in,
// then `layout.last`; none without visible slots or pixels.
std::vector<std::int32_t> columnStarts(const GraphLayout& layout, double pixelsPerUnit);

// Whether a trace is dense enough, at that many device pixels a point, to be drawn as spans of
// device columns rather than a stroked, anti-aliased line.
bool drawnAsColumnSpans(const GraphLayout& layout, double pixelsPerUnit);

// The same spans straight from the trace, without building its runs: what a dense view draws.
void traceColumnSpans(const ViewModel& model, const GraphLayout& layout, Channel trace,
                      Rso2Presence rso2Presence, double pixelsPerUnit, double lineWidth,
                      std::span<const std::int32_t> starts, std::vector<ColumnSpan>& spans);

// The device pixels a line of that width along the runs covers, as one span per device column
// and run: each column's points and the joins to its neighbours, widened by the line's width.
void traceColumnSpans(const PolylinePath& runs, double pixelsPerUnit, double lineWidth,
                      std::vector<ColumnSpan>& spans);

// Where consecutive points of a run share a pixel column (floor(x x pixelsPerUnit)), keeps
// only the column's first, lowest, highest and last point, in their order along the run.
// Appends to `reduced`.
void reduceToColumns(std::span<const PointF> run, double pixelsPerUnit,
                     std::vector<PointF>& reduced);

}  // namespace nuvisca
