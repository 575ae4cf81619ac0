#include "graph/GraphRenderer.h"

#include <array>

#include "graph/GraphColours.h"
#include "graph/GraphHeader.h"
#include "graph/GraphLayout.h"
#include "graph/MarkerMarks.h"
#include "graph/RestartMarks.h"
#include "graph/ReviewMarks.h"
#include "graph/SafeMath.h"
#include "graph/ScaleGrid.h"
#include "graph/TimeAxis.h"
#include "graph/TraceRuns.h"
#include "graph/TraceSpansCache.h"

namespace nuvisca {
namespace {

// Drawn bottom to top, so oxHb lies over the others.
constexpr std::array<Channel, kChannelCount> kDrawingOrder{kRso2, kTohb, kDxhb, kOxhb};

void drawTraces(Painter& painter, const ViewModel& model, const GraphViewState& view,
                const GraphLayout& layout, Rso2Presence rso2Presence, TraceSpansCache* cache) {
    const double pixelsPerUnit = painter.pixelsPerUnit();
    if (painter.fillsColumnSpans() && drawnAsColumnSpans(layout, pixelsPerUnit)) {
        TraceSpansCache once;
        TraceSpansCache& spans = cache != nullptr ? *cache : once;
        spans.prepare(model, view, layout, rso2Presence, pixelsPerUnit);
        for (const Channel trace : kDrawingOrder) {
            if (view.traceShown[trace]) {
                painter.fillColumnSpans(spans.spans(trace), traceColour(trace));
            }
        }
        return;
    }
    PolylinePath runs;
    const std::vector<std::int32_t> starts = columnStarts(layout, pixelsPerUnit);
    for (const Channel trace : kDrawingOrder) {
        if (view.traceShown[trace]) {
            buildTraceRuns(model, layout, trace, rso2Presence, pixelsPerUnit, runs, starts);
            painter.strokePath(runs, traceColour(trace), kTraceLineWidth);
        }
    }
}

void drawPlotFrame(Painter& painter, const GraphLayout& layout) {
    const double right = layout.width - 9.0;
    const double top = layout.height - 61.0;
    PolylinePath outline;
    outline.begin({9.0, 9.0});
    outline.lineTo({right, 9.0});
    outline.lineTo({right, top});
    outline.lineTo({9.0, top});
    outline.lineTo({9.0, 8.0});
    painter.strokePath(outline, kBlack, 2.0);
}

// On the outermost pixels, each side reaching over the corners so that they are whole too.
void drawViewBorder(Painter& painter, const GraphLayout& layout) {
    const double left = onPixelCentre(0);
    const double bottom = onPixelCentre(0);
    const double right = onPixelCentre(truncToInt(layout.width) - 1);
    const double top = onPixelCentre(truncToInt(layout.height) - 1);
    PolylinePath border;
    border.begin({left, 0.0});
    border.lineTo({left, layout.height});
    border.begin({0.0, top});
    border.lineTo({layout.width, top});
    border.begin({right, layout.height});
    border.lineTo({right, 0.0});
    border.begin({layout.width, bottom});
    border.lineTo({0.0, bottom});
    painter.strokePath(border, kBlack, 1.0);
}

}  // namespace

void drawUnderGrid(Painter& painter, const ViewModel& model, const GraphViewState& view,
                   const GraphLayout& layout) {
    if (model.recording().sampleCount > 0) {
        drawMarkerBands(painter, model.markers(), layout);
        drawReviewBands(painter, model, view.selection, layout);
        drawRestartLines(painter, model.restartSlots(), layout);
    }
}

void drawStaticParts(Painter& painter, const ViewModel& model, const GraphViewState& view,
                     const GraphLayout& layout, bool drawnBefore) {
    const std::optional<Rgba> background = carriedTextBackground(drawnBefore);
    drawHeadings(painter, model, layout, background);
    drawLegend(painter, view, layout, background);
    drawGridAndScales(painter, layout, background);
    if (model.recording().sampleCount > 0) {
        drawReviewLines(painter, model, layout);
    }
}

StaticPartsKey staticPartsKey(const ViewModel& model, const GraphViewState& view,
                              const GraphLayout& layout) {
    const Recording& store = model.recording();
    return {layout.width,
            layout.height,
            layout.plotWidth,
            layout.plotHeight,
            layout.zoomFactor,
            layout.zoomExtra,
            layout.base,
            layout.averaged ? model.averageWindow() : 0,
            view.traceShown,
            model.review(),
            store.sampleCount > 0 ? recordingDateLine(store) : std::string()};
}

bool drawOverGrid(Painter& painter, const ViewModel& model, const GraphViewState& view,
                  const GraphLayout& layout, const GraphPageStyle& style, TraceSpansCache* traces) {
    const Recording& store = model.recording();
    const bool hasData = store.sampleCount > 0;
    if (hasData) {
        drawTimeAxis(painter, store, model.restartSlots(), layout);
        // Over the ticks, which a marker on a whole minute would otherwise cut.
        drawMarkerLines(painter, model.markers(), layout);
        drawTraces(painter, model, view, layout, style.rso2Presence, traces);
        drawRestartLabels(painter, store, model.restartSlots(), layout);
        drawMarkerLabels(painter, model.markers(), layout);
    }
    drawPlotFrame(painter, layout);
    if (style.drawBorder) {
        drawViewBorder(painter, layout);
    }
    return hasData;
}

bool drawGraph(Painter& painter, const ViewModel& model, const GraphViewState& view,
               bool drawnBefore, const GraphPageStyle& style, TraceSpansCache* traces) {
    const GraphLayout layout = layoutGraph(model, view);
    painter.fillRect({0.0, 0.0, layout.width, layout.height}, kWhite);
    drawUnderGrid(painter, model, view, layout);
    drawStaticParts(painter, model, view, layout, drawnBefore);
    return drawOverGrid(painter, model, view, layout, style, traces);
}

std::optional<Rgba> carriedTextBackground(bool drawnBefore) {
    return drawnBefore ? std::optional<Rgba>(kWhite) : std::nullopt;
}

}  // namespace nuvisca
