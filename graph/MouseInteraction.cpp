#include "graph/MouseInteraction.h"

#include <algorithm>
#include <cmath>

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

float limitedOffset(const GraphViewState& view, const MeasurementStore& store, float offset) {
    const float limit = plotHeight(view) * zoomExtra(store.zoomIndex);
    if (offset < 0.0f) {
        return 0.0f;
    }
    return offset > limit ? limit : offset;
}

bool insidePlot(const GraphViewState& view, ViewPoint p, float left) {
    return p.x > left && p.x < plotWidth(view) + 10.0f && p.y > 10.0f &&
           p.y < plotHeight(view) + 10.0f;
}

bool toggleLegendEntries(GraphViewState& view, ViewPoint p) {
    bool hit = false;
    for (std::size_t k = 0; k < view.traceShown.size(); ++k) {
        if (view.legendLeft[k] <= p.x && p.x < view.legendRight[k] && view.legendBottom[k] <= p.y &&
            p.y < view.legendTop[k]) {
            hit = true;
            if (view.traceShown[k] == 1 || view.traceShown[k] == 0) {
                view.traceShown[k] = 1 - view.traceShown[k];
            }
        }
    }
    return hit;
}

// The time scroll applied when a plain drag turns vertical; limited by spanSamples.
void applyScrollDuringDrag(GraphViewState& view, const MeasurementStore& store, float x,
                           float pps) {
    const float d = (view.anchorX - x) / pps;
    const std::int64_t count = std::int64_t{view.viewEnd} - view.viewStart;
    const float s = static_cast<float>(view.viewStart) + d;
    if (s < 0.0f) {
        view.viewStart = 0;
    } else {
        const auto latest = static_cast<float>(store.spanSamples - count - 1);
        view.viewStart = std::max(truncToInt(std::min(s, latest)), 0);
    }
    view.viewEnd = clampToInt(std::min(count + view.viewStart, std::int64_t{store.spanSamples}));
}

// The time scroll applied on release; limited by sampleCount.
void applyScrollOnRelease(GraphViewState& view, const MeasurementStore& store, float dxa,
                          float pps) {
    const std::int64_t count = std::int64_t{view.viewEnd} - view.viewStart;
    std::int64_t s = truncToInt(view.viewStart + static_cast<double>(dxa) / pps);
    if (s < 0) {
        s = 0;
    } else {
        const std::int64_t room = store.sampleCount - count;
        if (s > room - 1) {
            s = room > 0 ? room - 1 : 0;
        }
    }
    view.viewStart = clampToInt(s);
    view.viewEnd = clampToInt(s + std::max(count, std::int64_t{view.viewSpan}));
}

}  // namespace

bool mouseDown(GraphViewState& view, const MeasurementStore& store, PointF windowPoint, bool shift,
               bool control) {
    const ViewPoint p = toView(view, windowPoint);
    if (view.mouseDownInPlot == 0 && store.sampleCount > 0 && insidePlot(view, p, 10.0f)) {
        view.dragX = view.anchorX = view.lastDragX = p.x;
        view.dragY = view.anchorY = view.lastDragY = p.y;
        view.mouseDownInPlot = 1;
        view.dragPhase = 0;
        // Only a press in the plot takes a mode, so a modified click elsewhere cannot leave
        // the next plain drag stuck in it.
        if (shift && view.controlDrag != 1) {
            view.shiftDrag = 1;
        } else if (control && view.shiftDrag != 1) {
            view.controlDrag = 1;
        }
    }
    return toggleLegendEntries(view, p);
}

bool mouseDragged(GraphViewState& view, const MeasurementStore& store, PointF windowPoint,
                  bool /*shift*/, bool /*control*/) {
    const ViewPoint p = toView(view, windowPoint);
    const float pps = handlerPixelsPerSample(view);
    if (view.mouseDownInPlot <= 0 || !insidePlot(view, p, 0.0f)) {
        return false;
    }
    view.dragX = p.x;
    view.dragY = p.y;
    const float ax = std::fabs(view.lastDragX - p.x);
    const float ay = std::fabs(view.lastDragY - p.y);
    if (10.0f * ax >= ay && ax > 0.0f) {
        if (view.dragPhase == 1) {
            view.verticalOffset =
                limitedOffset(view, store, view.verticalOffset - (p.y - view.anchorY));
            view.anchorX = view.lastDragX;
            view.anchorY = view.lastDragY;
            view.dragPhase = 0;
        }
    } else if (ay > 10.0f * ax && ay > 0.0f && view.dragPhase == 0) {
        if (view.shiftDrag != 1) {
            applyScrollDuringDrag(view, store, p.x, pps);
        }
        view.anchorX = view.lastDragX;
        view.anchorY = view.lastDragY;
        view.dragPhase = 1;
    }
    view.lastDragX = p.x;
    view.lastDragY = p.y;
    return true;
}

bool mouseUp(GraphViewState& view, const MeasurementStore& store, PointF /*windowPoint*/,
             bool /*shift*/, bool /*control*/) {
    const float pps = handlerPixelsPerSample(view);
    if (view.mouseDownInPlot != 1) {
        return false;
    }
    if (view.shiftDrag == 1) {
        const std::int32_t end =
            truncToInt(view.viewEnd + (static_cast<double>(view.anchorX) - view.dragX) / pps);
        // A drag to the right past the start would leave nothing to draw.
        view.viewEnd = clampToInt(std::max(std::int64_t{end}, std::int64_t{view.viewStart} + 1));
        view.shiftDrag = 0;
    } else if (view.controlDrag == 1) {
        view.verticalOffset =
            limitedOffset(view, store, view.verticalOffset - (view.dragY - view.anchorY));
        view.controlDrag = 0;
    } else {
        const float dxa = view.anchorX - view.dragX;
        const float dya = view.dragY - view.anchorY;
        if (10.0f * std::fabs(dxa) >= std::fabs(dya)) {
            applyScrollOnRelease(view, store, dxa, pps);
        } else {
            view.verticalOffset = limitedOffset(view, store, view.verticalOffset - dya);
        }
    }
    view.anchorX = view.dragX;
    view.anchorY = view.dragY;
    view.mouseDownInPlot = 0;
    return true;
}

}  // namespace nuvisca
