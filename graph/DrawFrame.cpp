#include "graph/DrawFrame.h"

#include <algorithm>
#include <cstdlib>

#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

std::int32_t offsetWithoutPress(GraphViewState& view, float limit) {
    std::int32_t offset = truncToInt(view.verticalOffset);
    if (offset < 0) {
        view.verticalOffset = 0.0f;
        return 0;
    }
    if (static_cast<float>(offset) > limit) {
        offset = truncToInt(limit);
        if (offset == 0) {
            view.verticalOffset = 0.0f;
        }
    }
    return offset;
}

std::int32_t offsetDuringPress(const GraphViewState& view, float limit, std::int32_t dx,
                               std::int32_t dy) {
    const bool vertical = std::abs(dy) > 10 * std::abs(dx) && std::abs(dy) > 0;
    if (view.controlDrag != 1 && !vertical) {
        return truncToInt(view.verticalOffset);
    }
    const std::int32_t candidate = truncToInt(view.verticalOffset - static_cast<float>(dy));
    if (candidate < 0) {
        return 0;
    }
    return static_cast<float>(candidate) > limit ? truncToInt(limit) : candidate;
}

void previewRange(const MeasurementStore& store, const GraphViewState& view, DrawFrame& frame,
                  std::int32_t dy) {
    const double pps = frame.pixelsPerSample;
    const double back = (static_cast<double>(view.anchorX) - view.dragX) / pps;
    const std::int64_t minimumEnd = std::int64_t{view.viewSpan} + view.viewStart;
    if (view.shiftDrag == 1) {
        const std::int64_t end = truncToInt(view.viewEnd + back);
        frame.end = clampToInt(std::max(end, minimumEnd));
        return;
    }
    const std::int32_t sx = truncToInt((static_cast<double>(view.dragX) - view.anchorX) / pps);
    if (!(10 * std::int64_t{std::abs(sx)} >= std::abs(dy) && sx != 0)) {
        return;
    }
    const std::int64_t count = std::int64_t{view.viewEnd} - view.viewStart;
    const std::int64_t s = truncToInt(view.viewStart + back);
    const std::int64_t room = store.sampleCount - count;
    std::int64_t start = 0;
    if (s >= 0) {
        start = s <= room - 1 ? s : (room > 0 ? room - 1 : 0);
    }
    frame.start = clampToInt(start);
    frame.end = clampToInt(start + std::max(count, std::int64_t{view.viewSpan}));
}

}  // namespace

DrawFrame beginDrawFrame(const MeasurementStore& store, const GraphViewState& view) {
    DrawFrame frame;
    frame.width = view.viewWidth;
    frame.height = view.viewHeight;
    frame.plotHeight = plotHeight(view);
    frame.viewSpan = view.viewSpan;
    frame.pixelsPerSample = pixelsPerSample(view);
    frame.zoomFactor = zoomFactor(store.zoomIndex);
    frame.zoomExtra = zoomExtra(store.zoomIndex);
    frame.averaged = store.averageWindow != 0;
    frame.start = view.viewStart;
    frame.end = view.viewEnd;
    return frame;
}

void previewDrag(const MeasurementStore& store, GraphViewState& view, DrawFrame& frame) {
    const bool pressed = view.mouseDownInPlot != 0;
    const std::int32_t dx = truncToInt(frame.pixelsPerSample * (view.dragX - view.anchorX));
    const std::int32_t dy = truncToInt(view.dragY - view.anchorY);
    const float limit = frame.zoomExtra * frame.plotHeight;

    frame.offset =
        pressed ? offsetDuringPress(view, limit, dx, dy) : offsetWithoutPress(view, limit);
    frame.base = clampToInt(std::int64_t{10} - frame.offset);

    frame.start = view.viewStart;
    frame.end = view.viewEnd;
    if (store.sampleCount > 0 && pressed && view.controlDrag != 1) {
        previewRange(store, view, frame, dy);
    }

    frame.last = std::min(frame.end, store.sampleCount - 1);
    const std::int64_t shown = std::int64_t{frame.last} - frame.start;
    frame.compression =
        shown > frame.viewSpan
            ? static_cast<float>(static_cast<double>(frame.viewSpan) / static_cast<double>(shown))
            : 1.0f;
    frame.step = frame.compression * frame.pixelsPerSample;
}

}  // namespace nuvisca
