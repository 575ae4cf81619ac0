#include "graph/RangeNavigation.h"

#include <algorithm>
#include <cmath>

#include "graph/GraphLayout.h"
#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

std::int64_t rangeLength(const GraphViewState& view) {
    return std::int64_t{view.viewEnd} - view.viewStart;
}

// x distance between slots when `length` slots are shown, as the drawing computes it.
double stepFor(const GraphViewState& view, const Recording& store, std::int64_t start,
               std::int64_t length) {
    const std::int64_t shown = slotsShown(store, start, start + length);
    const float compression =
        shown > view.viewSpan
            ? static_cast<float>(static_cast<double>(view.viewSpan) / static_cast<double>(shown))
            : 1.0f;
    return static_cast<double>(compression * pixelsPerSample(view));
}

std::int64_t latestStart(const Recording& store, std::int64_t length) {
    return std::max(std::int64_t{store.sampleCount} - length - 1, std::int64_t{0});
}

}  // namespace

bool canNavigate(const GraphViewState& view, const Recording& store) {
    return store.sampleCount > 0 && view.viewSpan > 0 && plotWidth(view) > 0.0f &&
           !view.mouseDownInPlot;
}

double slotAtX(const GraphViewState& view, const Recording& store, float x) {
    const double step = stepFor(view, store, view.viewStart, rangeLength(view));
    return view.viewStart + (static_cast<double>(x) - kPlotMargin) / step;
}

VisibleRange zoomedRange(const GraphViewState& view, const Recording& store, float x,
                         double factor) {
    const std::int64_t whole =
        std::max(std::int64_t{store.sampleCount}, std::int64_t{view.viewSpan});
    const auto wanted = static_cast<double>(std::max(rangeLength(view), std::int64_t{1})) * factor;
    const std::int64_t length =
        std::clamp(static_cast<std::int64_t>(std::llround(std::min(wanted, 1e12))),
                   std::int64_t{view.viewSpan}, whole);
    const double anchor = slotAtX(view, store, x);
    const double into = (static_cast<double>(x) - kPlotMargin) / stepFor(view, store, 0, length);
    const auto start = static_cast<std::int64_t>(std::floor(anchor - into + 0.5));
    const std::int64_t first = std::clamp(start, std::int64_t{0}, latestStart(store, length));
    return {clampToInt(first), clampToInt(first + length)};
}

VisibleRange rangeStartingAt(const GraphViewState& view, const Recording& store, double start) {
    return scrolledRange(view, std::max(start, -1.0), {store.sampleCount, true, false});
}

VisibleRange rangeScrolledBy(const GraphViewState& view, const Recording& store, double slots) {
    return rangeStartingAt(view, store, view.viewStart + slots);
}

void showRangeStartingAt(ViewModel& model, double start) {
    if (canNavigate(model.view(), model.recording())) {
        model.showRange(rangeStartingAt(model.view(), model.recording(), start));
    }
}

bool applyRange(GraphViewState& view, VisibleRange range) {
    const bool changed = range.start != view.viewStart || range.end != view.viewEnd;
    view.viewStart = range.start;
    view.viewEnd = range.end;
    return changed;
}

bool navigate(GraphViewState& view, const Recording& store, std::int32_t zoomIndex,
              NavigationKey key) {
    if (!canNavigate(view, store)) {
        return false;
    }
    const auto length = static_cast<double>(rangeLength(view));
    const float centre = kPlotMargin + plotWidth(view) / 2.0f;
    switch (key) {
        case NavigationKey::kBack:
            return applyRange(view, rangeScrolledBy(view, store, -std::max(length / 10.0, 1.0)));
        case NavigationKey::kForward:
            return applyRange(view, rangeScrolledBy(view, store, std::max(length / 10.0, 1.0)));
        case NavigationKey::kPageBack:
            return applyRange(view, rangeScrolledBy(view, store, -length));
        case NavigationKey::kPageForward:
            return applyRange(view, rangeScrolledBy(view, store, length));
        case NavigationKey::kToStart:
            return applyRange(view, rangeStartingAt(view, store, 0.0));
        case NavigationKey::kToEnd:
            return applyRange(view, rangeStartingAt(view, store, store.sampleCount));
        case NavigationKey::kZoomIn:
            return applyRange(view, zoomedRange(view, store, centre, 1.0 / kZoomStep));
        case NavigationKey::kZoomOut:
            return applyRange(view, zoomedRange(view, store, centre, kZoomStep));
        case NavigationKey::kWholeRecording:
            return applyRange(view, zoomedRange(view, store, kPlotMargin, 1e9));
        case NavigationKey::kTracesUp:
        case NavigationKey::kTracesDown: {
            // A tenth of the plot, in whole points as a drag leaves it.
            const float step = std::max(std::floor(plotHeight(view) / 10.0f), 1.0f);
            const float moved =
                view.verticalOffset + (key == NavigationKey::kTracesUp ? -step : step);
            const float offset = offsetWithinReach(moved, offsetReach(view, zoomIndex));
            const bool changed = offset != view.verticalOffset;
            view.verticalOffset = offset;
            return changed;
        }
    }
    return false;
}

}  // namespace nuvisca
