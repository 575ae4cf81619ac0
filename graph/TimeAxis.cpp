#include "graph/TimeAxis.h"

#include <algorithm>
#include <array>
#include <string>

#include "graph/GraphColours.h"
#include "graph/SafeMath.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

struct IntervalRow {
    std::int32_t above;  // applies when v is greater than this
    std::int32_t seconds;
};

constexpr std::array<IntervalRow, 11> kIntervals{{{54009, 5400},
                                                  {36009, 3600},
                                                  {18009, 1800},
                                                  {9009, 900},
                                                  {5999, 600},
                                                  {2999, 300},
                                                  {1199, 120},
                                                  {599, 60},
                                                  {299, 30},
                                                  {149, 15},
                                                  {99, 10}}};

}  // namespace

std::int32_t tickInterval(std::int32_t start, std::int32_t last, std::int32_t viewSpan) {
    if (last <= start) {
        return 5;
    }
    const std::int32_t v = last >= viewSpan ? last - start : viewSpan;
    for (const IntervalRow& row : kIntervals) {
        if (v > row.above) {
            return row.seconds;
        }
    }
    return 5;
}

float timeLabelRowY(const GraphLayout& layout, std::size_t row) {
    return layout.plotHeight - (row == 0 ? 10.0f : 30.0f);
}

void drawTimeAxis(Painter& painter, const Recording& store, std::span<const std::int32_t> restarts,
                  const GraphLayout& layout) {
    const TextAttributes attributes{18.0, kLabelColour, kWhite};
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const auto interval =
        static_cast<std::uint64_t>(tickInterval(layout.start, layout.last, layout.viewSpan));
    DayCountingClock clock(store, layout.start);
    std::uint64_t previousTick = clock.setTime();
    // Where the last label of the upper and of the lower row ends.
    std::array<double, 2> rowRight{-1.0, -1.0};
    const float plotWidth = layout.plotWidth;

    // A tick is a whole multiple of the interval later than the previous tick. Between
    // restarts the time rises by at most one second per slot, so only the next multiple
    // needs watching; a restart may move the time anywhere, so it looks again.
    const auto multipleAfter = [interval](std::uint64_t t) { return t - t % interval + interval; };
    std::uint64_t nextTick = multipleAfter(previousTick);
    // Only the slots where the next tick is due or the clock restarts need looking at.
    const std::span<const std::int32_t> later =
        slotsWithin(restarts, layout.start + 1, layout.last);
    auto restart = later.begin();
    const auto nextLook = [&](std::int32_t at) {
        while (restart != later.end() && *restart <= at) {
            ++restart;
        }
        const std::int32_t nextRestart = restart != later.end() ? *restart : layout.last;
        const std::int64_t due = clock.firstSlotReaching(nextTick);
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(due, at + 1, nextRestart));
    };
    PolylinePath ticks;
    for (std::int32_t i = layout.start; i < layout.last; i = nextLook(i)) {
        if (isTaggedSlot(store, i)) {
            clock.restartAt(slotTag(store, i), i);
            nextTick = multipleAfter(previousTick);
        }
        const std::uint64_t t = clock.timeOf(i);
        if (t < nextTick) {
            continue;
        }
        if (t % interval != 0) {
            nextTick = multipleAfter(t);
            continue;
        }
        previousTick = t;
        nextTick = t + interval;
        const float x = layout.slotX(i);
        if (!(x > kPlotMargin && x < plotWidth + kPlotMargin)) {
            continue;
        }
        // At a restart the red line stands for the tick; grey over it would hide it.
        if (i == layout.start || !isTaggedSlot(store, i)) {
            const double lineX = onPixelCentre(truncToInt(x));
            ticks.begin({lineX, kPlotMargin});
            ticks.lineTo({lineX, static_cast<double>(layout.plotHeight) + kPlotMargin});
        }
        if (x < layout.width - 94.0f) {
            // A label drops to the lower row to clear its neighbour, and is left out when it
            // would overlap the neighbours in both rows.
            const std::string label = formatClock(t);
            const double left = x + 4.0;
            const std::size_t row = left > rowRight[0] ? 0 : 1;
            if (left > rowRight[row]) {
                painter.drawText({left, timeLabelRowY(layout, row)}, label, attributes);
                rowRight[row] = left + painter.textWidth(label, attributes.fontSize);
            }
        }
    }
    painter.strokePath(ticks, kGridColour, 1.0);
}

}  // namespace nuvisca
