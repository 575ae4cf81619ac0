#include "graph/GraphRenderer.h"

#include <array>

#include "graph/DrawFrame.h"
#include "graph/GraphColours.h"
#include "graph/GraphHeader.h"
#include "graph/RestartMarks.h"
#include "graph/ScaleGrid.h"
#include "graph/TimeAxis.h"
#include "graph/TraceRuns.h"

namespace nuvisca {
namespace {

struct TraceStyle {
    Channel trace;
    Rgba colour;
};

// Drawn bottom to top, so oxHb lies over the others.
constexpr std::array<TraceStyle, 4> kTraceOrder{
    {{kRso2, kRso2Colour}, {kTohb, kTohbColour}, {kDxhb, kDxhbColour}, {kOxhb, kOxhbColour}}};

void measureView(GraphViewState& view, const ViewBounds& bounds) {
    view.viewWidth = bounds.width;
    view.viewHeight = bounds.height;
    view.viewOriginX = bounds.originX;
    view.viewOriginY = bounds.originY;
    view.viewSpan = viewSpanForWidth(bounds.width);
}

void drawTraces(Painter& painter, const MeasurementStore& store, const GraphViewState& view,
                const DrawFrame& frame, Rso2Presence rso2Presence) {
    PolylinePath runs;
    for (const TraceStyle& style : kTraceOrder) {
        if (view.traceShown[static_cast<std::size_t>(style.trace)] > 0) {
            buildTraceRuns(store, frame, style.trace, rso2Presence, runs);
            painter.strokePath(runs, style.colour, 2.0);
        }
    }
}

void drawPlotFrame(Painter& painter, const DrawFrame& frame) {
    const double right = frame.width - 9.0;
    const double top = frame.height - 61.0;
    PolylinePath outline;
    outline.begin({9.0, 9.0});
    outline.lineTo({right, 9.0});
    outline.lineTo({right, top});
    outline.lineTo({9.0, top});
    outline.lineTo({9.0, 8.0});
    painter.strokePath(outline, kBlack, 2.0);
}

void drawViewBorder(Painter& painter, const DrawFrame& frame) {
    PolylinePath border;
    border.begin({0.0, 0.0});
    border.lineTo({0.0, frame.height});
    border.lineTo({frame.width, frame.height});
    border.lineTo({frame.width, 0.0});
    border.lineTo({0.0, 0.0});
    painter.strokePath(border, kBlack, 1.0);
}

}  // namespace

void drawGraph(Painter& painter, const MeasurementStore& store, GraphViewState& view,
               TextAttributes& attributes, const GraphPageStyle& style) {
    if (style.measuredBounds) {
        measureView(view, *style.measuredBounds);
    }
    DrawFrame frame = beginDrawFrame(store, view);
    painter.fillRect({0.0, 0.0, frame.width, frame.height}, kWhite);

    drawHeadings(painter, store, frame, attributes);
    drawLegend(painter, view, frame, attributes);
    previewDrag(store, view, frame);
    const bool hasData = store.sampleCount > 0;
    if (hasData) {
        drawRestartLines(painter, store, frame);
    }
    drawGridAndScales(painter, frame, attributes);
    if (hasData) {
        drawTimeAxis(painter, store, frame, attributes);
        drawTraces(painter, store, view, frame, style.rso2Presence);
        drawRestartLabels(painter, store, frame, attributes);
    }
    drawPlotFrame(painter, frame);
    if (style.drawBorder) {
        drawViewBorder(painter, frame);
    }
}

}  // namespace nuvisca
