#include "graph/DragRule.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

struct Directions {
    bool alongTime;
    bool alongValue;
};

Directions directionsOf(const GraphViewState& view, const DragRule& rule, double back) {
    if (!rule.wholeSteps) {
        const float across = view.anchorX - view.dragX;
        const float down = view.dragY - view.anchorY;
        const bool alongTime = 10.0f * std::fabs(across) >= std::fabs(down);
        return {alongTime, !alongTime && !view.shiftDrag};
    }
    const std::int32_t samples = truncToInt(back);
    const std::int32_t points = truncToInt(rule.pixelsPerSample * (view.dragX - view.anchorX));
    const std::int32_t down = truncToInt(view.dragY - view.anchorY);
    const std::int64_t up = std::abs(std::int64_t{down});
    return {10 * std::abs(std::int64_t{samples}) >= up && samples != 0,
            up > 10 * std::abs(std::int64_t{points}) && up > 0};
}

}  // namespace

VisibleRange scrolledRange(const GraphViewState& view, double start, const ScrollBounds& bounds) {
    const std::int64_t count = std::int64_t{view.viewEnd} - view.viewStart;
    const std::int64_t first = std::max(
        std::min(std::int64_t{truncToInt(start)}, bounds.slots - count - 1), std::int64_t{0});
    std::int64_t end =
        first + (bounds.widenToViewSpan ? std::max(count, std::int64_t{view.viewSpan}) : count);
    if (bounds.endWithinSlots) {
        end = std::min(end, bounds.slots);
    }
    return {clampToInt(first), clampToInt(end)};
}

VisibleRange rangeAfterResize(const GraphViewState& view, const Recording& store) {
    if (view.mouseDownInPlot || store.sampleCount <= 0) {
        return {view.viewStart, view.viewEnd};
    }
    // A second click would pull a range the first one widened back inside the recording.
    GraphViewState widened = view;
    const VisibleRange once = scrolledRange(view, view.viewStart, {store.sampleCount, true, false});
    std::tie(widened.viewStart, widened.viewEnd) = std::tuple(once.start, once.end);
    return scrolledRange(widened, widened.viewStart, {store.sampleCount, true, false});
}

DragOutcome dragOutcome(const GraphViewState& view, const Recording& store, std::int32_t zoomIndex,
                        const DragRule& rule) {
    // The direction is judged at the base scale, as the release judges it in points.
    const double baseBack = (static_cast<double>(view.anchorX) - view.dragX) / rule.pixelsPerSample;
    const Directions moved = directionsOf(view, rule, baseBack);
    const double back = baseBack * rule.widening;
    DragOutcome outcome{{view.viewStart, view.viewEnd}, view.verticalOffset};
    if (view.controlDrag || moved.alongValue) {
        const float down = view.dragY - view.anchorY;
        const float reach = offsetReach(view, zoomIndex);
        if (rule.wholeSteps) {
            const auto wanted = static_cast<float>(
                truncToInt(view.verticalOffset - static_cast<float>(truncToInt(down))));
            outcome.verticalOffset =
                static_cast<float>(truncToInt(offsetWithinReach(wanted, reach)));
        } else {
            outcome.verticalOffset = offsetWithinReach(view.verticalOffset - down, reach);
        }
    }
    if (view.controlDrag) {
        return outcome;
    }
    if (view.shiftDrag) {
        const std::int64_t end = truncToInt(view.viewEnd + back);
        outcome.range.end =
            clampToInt(std::max(end, std::int64_t{view.viewStart} + rule.shortestShiftRange));
    } else if (moved.alongTime) {
        // The release measures the movement in float points, the preview in double.
        const double samples = rule.wholeSteps ? back
                                               : static_cast<double>(view.anchorX - view.dragX) /
                                                     rule.pixelsPerSample * rule.widening;
        outcome.range =
            scrolledRange(view, view.viewStart + samples, {store.sampleCount, true, false});
    }
    return outcome;
}

}  // namespace nuvisca
