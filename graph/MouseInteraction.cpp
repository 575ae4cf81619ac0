#include "graph/MouseInteraction.h"

#include <algorithm>
#include <cmath>

#include "graph/DragRule.h"
#include "graph/GraphLayout.h"
#include "graph/RangeNavigation.h"
#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

struct ViewPoint {
    float x;
    float y;
};

ViewPoint toView(const GraphViewState& view, PointF windowPoint) {
    return {static_cast<float>(windowPoint.x - static_cast<double>(view.viewOriginX)),
            static_cast<float>(windowPoint.y - static_cast<double>(view.viewOriginY))};
}

float handlerPixelsPerSample(const GraphViewState& view) {
    const float pps = pixelsPerSample(view);
    return pps < 0.0f ? 1.0f : pps;
}

bool toggleLegendEntries(GraphViewState& view, const GraphLayout& layout, ViewPoint p) {
    bool hit = false;
    for (std::size_t k = 0; k < view.traceShown.size(); ++k) {
        if (layout.legend[k].contains(p.x, p.y)) {
            hit = true;
            view.traceShown[k] = !view.traceShown[k];
        }
    }
    return hit;
}

// The time scroll applied when a plain drag turns vertical: counted in float, held within
// spanSamples and keeping the range's length.
void applyScrollDuringDrag(GraphViewState& view, const Recording& store, float x, float pps) {
    const auto moved = static_cast<float>((view.anchorX - x) / pps * widening(view, store));
    const float start = static_cast<float>(view.viewStart) + moved;
    const VisibleRange range = scrolledRange(view, start, {store.spanSamples, false, true});
    view.viewStart = range.start;
    view.viewEnd = range.end;
}

// A Shift release leaves what the preview showed at the least: viewSpan slots, or all that
// the recording has from the range's start on.
std::int32_t shortestReleasedShiftRange(const GraphViewState& view, const Recording& store) {
    const std::int64_t left = std::int64_t{store.sampleCount} - view.viewStart;
    return clampToInt(std::max(std::int64_t{1}, std::min(std::int64_t{view.viewSpan}, left)));
}

// The slot boundary nearest to x, held within the plot and the recording.
std::int32_t selectionEdgeAt(const GraphViewState& view, const Recording& store, float x) {
    const float inPlot = std::clamp(x, kPlotMargin, kPlotMargin + std::max(plotWidth(view), 0.0f));
    const double slot = std::round(slotAtX(view, store, inPlot));
    return static_cast<std::int32_t>(std::clamp(slot, 0.0, static_cast<double>(store.sampleCount)));
}

void extendSelection(GraphViewState& view, const Recording& store, float x) {
    const std::int32_t edge = selectionEdgeAt(view, store, x);
    view.selection = {std::min(view.selectionAnchor, edge), std::max(view.selectionAnchor, edge)};
}

}  // namespace

bool mouseDown(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool shift,
               bool control, bool alt) {
    const ViewPoint p = toView(view, windowPoint);
    const GraphLayout layout = layoutGraph(model, view);
    const bool startsPress = !view.mouseDownInPlot && !view.selecting &&
                             model.recording().sampleCount > 0 &&
                             layout.insidePlot(p.x, p.y, kPlotMargin);
    if (startsPress && alt) {
        view.selecting = true;
        view.selectionAnchor = selectionEdgeAt(view, model.recording(), p.x);
        view.selection = {};
        return true;
    }
    if (startsPress) {
        view.dragX = view.anchorX = view.lastDragX = p.x;
        view.dragY = view.anchorY = view.lastDragY = p.y;
        view.mouseDownInPlot = true;
        view.dragPhase = DragPhase::kHorizontal;
        // Only a press in the plot takes a mode, so a modified click elsewhere cannot leave
        // the next plain drag stuck in it.
        if (shift && !view.controlDrag) {
            view.shiftDrag = true;
        } else if (control && !view.shiftDrag) {
            view.controlDrag = true;
        }
    }
    return toggleLegendEntries(view, layout, p);
}

bool mouseDragged(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool /*shift*/,
                  bool /*control*/, bool /*alt*/) {
    const ViewPoint p = toView(view, windowPoint);
    if (view.selecting) {
        extendSelection(view, model.recording(), p.x);
        return true;
    }
    const float pps = handlerPixelsPerSample(view);
    if (!view.mouseDownInPlot || !layoutGraph(model, view).insidePlot(p.x, p.y, 0.0f)) {
        return false;
    }
    view.dragX = p.x;
    view.dragY = p.y;
    const float ax = std::fabs(view.lastDragX - p.x);
    const float ay = std::fabs(view.lastDragY - p.y);
    if (10.0f * ax >= ay && ax > 0.0f) {
        if (view.dragPhase == DragPhase::kVertical) {
            view.verticalOffset = offsetWithinReach(view.verticalOffset - (p.y - view.anchorY),
                                                    offsetReach(view, model.zoomIndex()));
            view.anchorX = view.lastDragX;
            view.anchorY = view.lastDragY;
            view.dragPhase = DragPhase::kHorizontal;
        }
    } else if (ay > 10.0f * ax && ay > 0.0f && view.dragPhase == DragPhase::kHorizontal) {
        if (!view.shiftDrag) {
            applyScrollDuringDrag(view, model.recording(), p.x, pps);
        }
        view.anchorX = view.lastDragX;
        view.anchorY = view.lastDragY;
        view.dragPhase = DragPhase::kVertical;
    }
    view.lastDragX = p.x;
    view.lastDragY = p.y;
    return true;
}

bool mouseUp(GraphViewState& view, const ViewModel& model, PointF windowPoint, bool /*shift*/,
             bool /*control*/, bool /*alt*/) {
    if (view.selecting) {
        extendSelection(view, model.recording(), toView(view, windowPoint).x);
        view.selecting = false;
        return true;
    }
    if (!view.mouseDownInPlot) {
        return false;
    }
    const Recording& store = model.recording();
    const DragOutcome outcome = dragOutcome(view, store, model.zoomIndex(),
                                            {handlerPixelsPerSample(view), widening(view, store),
                                             shortestReleasedShiftRange(view, store), false});
    view.viewStart = outcome.range.start;
    view.viewEnd = outcome.range.end;
    view.verticalOffset = outcome.verticalOffset;
    view.shiftDrag = false;
    view.controlDrag = false;
    view.anchorX = view.dragX;
    view.anchorY = view.dragY;
    view.mouseDownInPlot = false;
    return true;
}

}  // namespace nuvisca
