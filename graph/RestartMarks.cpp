#include "graph/RestartMarks.h"

#include <string>

#include "graph/GraphColours.h"
#include "graph/LineLabels.h"
#include "graph/SafeMath.h"
#include "graph/ScaleGrid.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

// The width a restart label claims in its row: the widest clock pair with room around it.
constexpr double kLabelPitch = 184.0;

}  // namespace

void drawRestartLines(Painter& painter, std::span<const std::int32_t> restarts,
                      const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    PolylinePath lines;
    for (const std::int32_t i : slotsWithin(restarts, layout.start + 1, layout.last)) {
        const double x = onPixelCentre(truncToInt(static_cast<float>(i - layout.start) *
                                                      layout.compression * layout.pixelsPerSample +
                                                  kPlotMargin));
        lines.begin({x, kPlotMargin});
        lines.lineTo({x, static_cast<double>(layout.plotHeight) + kPlotMargin});
    }
    painter.strokePath(lines, kRed, 1.0);
}

void drawRestartLabels(Painter& painter, const Recording& store,
                       std::span<const std::int32_t> restarts, const GraphLayout& layout) {
    const TextAttributes attributes{18.0, kRestartLabelColour, kWhite};
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const std::uint64_t firstTag = slotTag(store, 0);
    ClockAnchor anchor = anchorBefore(store, layout.start);
    if (isTaggedSlot(store, layout.start)) {
        anchor = {slotTag(store, layout.start), layout.start};
    }
    const double indexLeft = indexScaleLeft(painter, layout);
    const double percentRight = percentScaleRight(painter);
    LabelRows rows;
    for (const std::int32_t i : slotsWithin(restarts, layout.start + 1, layout.last)) {
        // The clock reached before the restart: the time of the slot before it.
        const std::uint64_t clock = anchor.timeOf(i - 1);
        const std::uint64_t tag = slotTag(store, i);
        const std::int32_t x = truncToInt(layout.slotX(i));
        // A tag earlier than the first one means the recording has passed midnight.
        const std::uint64_t resumed = tag < firstTag ? tag + 86400 : tag;
        const std::string label = formatClock(clock) + "\u2192" + formatClock(resumed);
        const LineLabelPlace place = placeBesideLine(
            x, painter.textWidth(label, attributes.fontSize), indexLeft, percentRight);
        const double from = truncToInt(place.left - 4.0);
        const std::size_t row = rows.place(from, from + kLabelPitch);
        if (place.shown) {
            painter.drawText({place.left, 20.0 * static_cast<double>(row) + 12.0}, label,
                             attributes);
        }
        anchor = {tag, i};
    }
}

}  // namespace nuvisca
