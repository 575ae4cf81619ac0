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

namespace nuvisca {
namespace {

// Drawn bottom to top, so oxHb lies over the others.
constexpr std::array<Channel, kChannelCount> kDrawingOrder{kRso2, kTohb, kDxhb, kOxhb};

void drawTraces(Painter& painter, const ViewModel& model, const GraphViewState& view,
                const GraphLayout& layout, Rso2Presence rso2Presence) {
    PolylinePath runs;
    std::vector<ColumnSpan> spans;
    const double pixelsPerUnit = painter.pixelsPerUnit();
    const bool asSpans = painter.fillsColumnSpans() && drawnAsColumnSpans(layout, pixelsPerUnit);
    for (const Channel trace : kDrawingOrder) {
        if (view.traceShown[trace]) {
            buildTraceRuns(model, layout, trace, rso2Presence, pixelsPerUnit, runs);
            if (asSpans) {
                traceColumnSpans(runs, pixelsPerUnit, 2.0, spans);
                painter.fillColumnSpans(spans, traceColour(trace));
            } else {
                painter.strokePath(runs, traceColour(trace), 2.0);
            }
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

bool drawGraph(Painter& painter, const ViewModel& model, const GraphViewState& view,
               bool drawnBefore, const GraphPageStyle& style) {
    const Recording& store = model.recording();
    const GraphLayout layout = layoutGraph(model, view);
    painter.fillRect({0.0, 0.0, layout.width, layout.height}, kWhite);

    const std::optional<Rgba> background = carriedTextBackground(drawnBefore);
    drawHeadings(painter, model, layout, background);
    drawLegend(painter, view, layout, background);
    const bool hasData = store.sampleCount > 0;
    if (hasData) {
        drawMarkerBands(painter, model.markers(), layout);
        drawReviewBands(painter, model, view.selection, layout);
        drawRestartLines(painter, store, layout);
    }
    drawGridAndScales(painter, layout, background);
    if (hasData) {
        drawReviewLines(painter, model, layout);
        drawTimeAxis(painter, store, layout);
        // Over the ticks, which a marker on a whole minute would otherwise cut.
        drawMarkerLines(painter, model.markers(), layout);
        drawTraces(painter, model, view, layout, style.rso2Presence);
        drawRestartLabels(painter, store, layout);
        drawMarkerLabels(painter, model.markers(), layout);
    }
    drawPlotFrame(painter, layout);
    if (style.drawBorder) {
        drawViewBorder(painter, layout);
    }
    return hasData;
}

std::optional<Rgba> carriedTextBackground(bool drawnBefore) {
    return drawnBefore ? std::optional<Rgba>(kWhite) : std::nullopt;
}

}  // namespace nuvisca
