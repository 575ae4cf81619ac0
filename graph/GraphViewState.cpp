#include "graph/GraphViewState.h"

#include "graph/SafeMath.h"

namespace nuvisca {

void resetGraphViewState(GraphViewState& view) {
    view.mouseDownInPlot = false;
    view.verticalOffset = 0.0f;
    view.viewStart = 0;
    view.viewEnd = 0;
    view.dragX = 0.0f;
    view.dragY = 0.0f;
    view.anchorX = 0.0f;
    view.anchorY = 0.0f;
    view.shiftDrag = false;
    view.controlDrag = false;
    view.traceShown = {false, false, true, true};
}

void resetVisibleRange(GraphViewState& view, std::int32_t spanSamples) {
    const float width = plotWidth(view);
    view.viewSpan = width > 900.0f ? 900 : static_cast<std::int32_t>(width);
    view.viewStart = 0;
    view.viewEnd = spanSamples < view.viewSpan ? spanSamples : view.viewSpan;
}

void settleView(GraphViewState& view, std::int32_t zoomIndex, const ViewBounds& bounds) {
    view.viewWidth = bounds.width;
    view.viewHeight = bounds.height;
    view.viewOriginX = bounds.originX;
    view.viewOriginY = bounds.originY;
    view.viewSpan = viewSpanForWidth(bounds.width);
    const std::int32_t offset = truncToInt(view.verticalOffset);
    const float reach = offsetReach(view, zoomIndex);
    if (!view.mouseDownInPlot &&
        (offset < 0 || (static_cast<float>(offset) > reach && truncToInt(reach) == 0))) {
        view.verticalOffset = 0.0f;
    }
}

float plotWidth(const GraphViewState& view) {
    return view.viewWidth - 2.0f * kPlotMargin;
}

float plotHeight(const GraphViewState& view) {
    return view.viewHeight - 20.0f - kLegendRowHeight - kHeadingRowHeight - 10.0f;
}

std::int32_t viewSpanForWidth(float viewWidth) {
    return viewWidth > 900.0f ? 900 : static_cast<std::int32_t>(viewWidth);
}

float pixelsPerSample(const GraphViewState& view) {
    return static_cast<float>(static_cast<double>(plotWidth(view)) / view.viewSpan);
}

float zoomFactor(std::int32_t zoomIndex) {
    switch (zoomIndex) {
        case 0:
            return 0.5f;
        case 1:
            return 1.0f;
        case 2:
            return 2.0f;
        case 3:
            return 4.0f;
        default:
            return 8.0f;
    }
}

float zoomExtra(std::int32_t zoomIndex) {
    switch (zoomIndex) {
        case 0:
        case 1:
            return 0.0f;
        case 2:
            return 1.0f;
        case 3:
            return 3.0f;
        default:
            return 7.0f;
    }
}

float offsetReach(const GraphViewState& view, std::int32_t zoomIndex) {
    return zoomExtra(zoomIndex) * plotHeight(view);
}

float offsetWithinReach(float offset, float reach) {
    if (offset < 0.0f) {
        return 0.0f;
    }
    return offset > reach ? reach : offset;
}

}  // namespace nuvisca
