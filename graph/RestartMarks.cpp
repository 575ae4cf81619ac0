#include "graph/RestartMarks.h"

#include <array>
#include <string>

#include "graph/GraphColours.h"
#include "graph/SafeMath.h"
#include "graph/ScaleGrid.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

constexpr std::size_t kLabelRows = 8;

// Stacks labels upwards so that neighbours closer than a label's width do not collide.
class LabelRows {
public:
    std::size_t place(std::int32_t x) {
        std::size_t row = (previous_ + 1) % kLabelRows;
        for (std::size_t r = 0; r < kLabelRows; ++r) {
            if (std::int64_t{x} > std::int64_t{lastX_[r]} + 184) {
                row = r;
                break;
            }
        }
        lastX_[row] = x;
        previous_ = row;
        return row;
    }

private:
    std::array<std::int32_t, kLabelRows> lastX_{-174, -174, -174, -174, -174, -174, -174, -174};
    std::size_t previous_ = 0;
};

}  // namespace

void drawRestartLines(Painter& painter, const Recording& store, const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    PolylinePath lines;
    for (std::int32_t i = nextTaggedSlot(store, layout.start + 1, layout.last); i < layout.last;
         i = nextTaggedSlot(store, i + 1, layout.last)) {
        const double x = onPixelCentre(truncToInt(static_cast<float>(i - layout.start) *
                                                      layout.compression * layout.pixelsPerSample +
                                                  kPlotMargin));
        lines.begin({x, kPlotMargin});
        lines.lineTo({x, static_cast<double>(layout.plotHeight) + kPlotMargin});
    }
    painter.strokePath(lines, kRed, 1.0);
}

void drawRestartLabels(Painter& painter, const Recording& store, const GraphLayout& layout) {
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
    for (std::int32_t i = nextTaggedSlot(store, layout.start + 1, layout.last); i < layout.last;
         i = nextTaggedSlot(store, i + 1, layout.last)) {
        // The clock reached before the restart: the time of the slot before it.
        const std::uint64_t clock = anchor.timeOf(i - 1);
        const std::uint64_t tag = slotTag(store, i);
        const std::int32_t x = truncToInt(layout.slotX(i));
        // A tag earlier than the first one means the recording has passed midnight.
        const std::uint64_t resumed = tag < firstTag ? tag + 86400 : tag;
        const std::string label = formatClock(clock) + "\u2192" + formatClock(resumed);
        const double width = painter.textWidth(label, attributes.fontSize);
        // One that would run into the index scale stands to the left of its line instead;
        // one that fits neither side is left out.
        const bool toTheRight = x + 4.0 + width + 4.0 <= indexLeft;
        const double left = toTheRight ? x + 4.0 : x - 4.0 - width;
        // Rows are kept by where a label would stand to the right of its line.
        const std::size_t row = rows.place(truncToInt(left - 4.0));
        if (toTheRight ? x > 0 : left >= percentRight) {
            painter.drawText({left, 20.0 * static_cast<double>(row) + 12.0}, label, attributes);
        }
        anchor = {tag, i};
    }
}

}  // namespace nuvisca
