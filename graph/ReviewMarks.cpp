#include "graph/ReviewMarks.h"

#include <algorithm>

namespace nuvisca {
namespace {

double plotRight(const GraphLayout& layout) {
    return double{kPlotMargin} + static_cast<double>(layout.plotWidth);
}

double plotTop(const GraphLayout& layout) {
    return double{kPlotMargin} + static_cast<double>(layout.plotHeight);
}

void dashAcross(Painter& painter, const GraphLayout& layout, double value, double lineWidth,
                const Rgba& colour) {
    // As the trace places its values.
    const float scale = layout.plotHeight * layout.zoomFactor / kChannels[kRso2].fullScale;
    const double y = static_cast<float>(value) * scale + static_cast<float>(layout.base);
    if (y <= kPlotMargin || y >= plotTop(layout)) {
        return;
    }
    PolylinePath path;
    appendDashedLine(path, {kPlotMargin, y}, {plotRight(layout), y}, kDashLength, kDashGap);
    painter.strokePath(path, colour, lineWidth);
}

}  // namespace

void shadeSlots(Painter& painter, const GraphLayout& layout, SlotSpan span, const Rgba& colour) {
    const std::int32_t from = std::max(span.start, layout.start);
    const std::int32_t to = std::min(span.end, layout.last);
    if (to <= from) {
        return;
    }
    const double left = std::max(static_cast<double>(layout.slotX(from)), double{kPlotMargin});
    const double right = std::min(static_cast<double>(layout.slotX(to)), plotRight(layout));
    if (right > left) {
        painter.fillRect({left, kPlotMargin, right - left, static_cast<double>(layout.plotHeight)},
                         colour);
    }
}

void drawReviewBands(Painter& painter, const ViewModel& model, SlotSpan selection,
                     const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const std::vector<DesaturationEvent>& events = model.desaturations().events;
    for (const DesaturationEvent& event : events) {
        shadeSlots(painter, layout, {event.start, event.end}, kEventBand);
    }
    std::int32_t at = selection.start;
    for (const DesaturationEvent& event : events) {  // in slot order
        if (event.end <= at || selection.empty()) {
            continue;
        }
        if (event.start >= selection.end) {
            break;
        }
        shadeSlots(painter, layout, {at, std::min(event.start, selection.end)}, kSelectionBand);
        at = std::max(at, event.start);
        const std::int32_t out = std::min(event.end, selection.end);
        shadeSlots(painter, layout, {at, out}, kSelectionOnEventBand);
        at = out;
    }
    shadeSlots(painter, layout, {at, selection.end}, kSelectionBand);
}

void drawReviewLines(Painter& painter, const ViewModel& model, const GraphLayout& layout) {
    const ReviewSettings& review = model.review();
    const double effective = review.effectiveThreshold();
    if (review.baseline) {
        dashAcross(painter, layout, review.baseline->value, kWeakLine, kBaselineColour);
        const double relative = relativeThreshold(review.baseline->value, review.dropPercent);
        dashAcross(painter, layout, relative, relative == effective ? kStrongLine : kWeakLine,
                   kThresholdColour);
    }
    dashAcross(painter, layout, review.absoluteThreshold,
               review.absoluteThreshold == effective ? kStrongLine : kWeakLine, kThresholdColour);
}

}  // namespace nuvisca
