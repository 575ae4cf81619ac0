#pragma once

#include <string>

#include "graph/GraphLayout.h"
#include "graph/GraphPageStyle.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

class TraceSpansCache;

// Draws the whole trend graph from scratch, as the view's layout places it: bands, headings,
// legend, grid and scales, time axis, restart marks, markers, traces, frame and, when the style
// asks, the border. Returns whether it drew a recording's samples.
//
// On a surface that has drawn samples before (`drawnBefore`), the headings, the legend and
// the scale labels lie on the white the time labels are drawn on, as they always have.
bool drawGraph(Painter& painter, const ViewModel& model, const GraphViewState& view,
               bool drawnBefore, const GraphPageStyle& style, TraceSpansCache* traces = nullptr);

// drawGraph's three steps after clearing, for a view that keeps the static parts as a layer of
// their own. Under the grid: the bands and restart lines. The static parts, which stay while the
// visible range moves: headings, legend, grid, scales and the review's threshold and baseline
// lines; they cover only the bands, never what lies over the grid. Over the grid: everything
// else, the dense traces' spans kept in `traces` when given; returns whether it drew samples.
void drawUnderGrid(Painter& painter, const ViewModel& model, const GraphViewState& view,
                   const GraphLayout& layout);
void drawStaticParts(Painter& painter, const ViewModel& model, const GraphViewState& view,
                     const GraphLayout& layout, bool drawnBefore);
bool drawOverGrid(Painter& painter, const ViewModel& model, const GraphViewState& view,
                  const GraphLayout& layout, const GraphPageStyle& style,
                  TraceSpansCache* traces = nullptr);

// All that the static parts are drawn from: while it stays equal, so do they.
struct StaticPartsKey {
    float width = 0.0f;
    float height = 0.0f;
    float plotWidth = 0.0f;
    float plotHeight = 0.0f;
    float zoomFactor = 0.0f;
    float zoomExtra = 0.0f;
    std::int32_t base = 0;
    std::int32_t averageWindow = 0;  // 0 unless averaged
    ChannelFlags traceShown{};
    ReviewSettings review;
    std::string dateLine;  // none without samples
    friend bool operator==(const StaticPartsKey&, const StaticPartsKey&) = default;
};
StaticPartsKey staticPartsKey(const ViewModel& model, const GraphViewState& view,
                              const GraphLayout& layout);

// The background of the text drawn before the time labels.
std::optional<Rgba> carriedTextBackground(bool drawnBefore);

}  // namespace nuvisca
