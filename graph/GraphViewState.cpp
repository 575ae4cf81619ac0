#include "graph/GraphViewState.h"

namespace nuvisca {

void resetGraphViewState(GraphViewState& view) {
    view.mouseDownInPlot = 0;
    view.verticalOffset = 0.0f;
    view.viewStart = 0;
    view.viewEnd = 0;
    view.dragX = 0.0f;
    view.dragY = 0.0f;
    view.anchorX = 0.0f;
    view.anchorY = 0.0f;
    view.shiftDrag = 0;
    view.controlDrag = 0;
    view.traceShown = {0, 0, 1, 1};
}

void resetVisibleRange(GraphViewState& view, std::int32_t spanSamples) {
    const float width = view.viewWidth - 20.0f;
    view.viewSpan = width > 900.0f ? 900 : static_cast<std::int32_t>(width);
    view.viewStart = 0;
    view.viewEnd = spanSamples < view.viewSpan ? spanSamples : view.viewSpan;
}

float plotWidth(const GraphViewState& view) {
    return view.viewWidth - 20.0f;
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

}  // namespace nuvisca
