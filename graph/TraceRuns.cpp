#include "graph/TraceRuns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <type_traits>

#include "graph/ColumnSpans.h"
#include "graph/SafeMath.h"
#include "graph/SlotClock.h"
#include "graph/TraceIndex.h"
#include "store/Channels.h"

namespace nuvisca {
namespace {

struct TraceSeries {
    const SampleArray& drawn;
    const SampleArray& raw;
    bool rso2;
    float scale;  // y per unit value
};

TraceSeries seriesOf(const ViewModel& model, const GraphLayout& layout, Channel trace) {
    return {model.shownSeries(trace), model.recording().measured[trace], trace == kRso2,
            layout.plotHeight * layout.zoomFactor / kChannels[trace].fullScale};
}

template <class Sink>
class TraceWalker {
public:
    TraceWalker(const ViewModel& model, const TraceSeries& series, const GraphLayout& layout,
                Rso2Presence presence, Sink& path)
        : store_(model.recording()),
          series_(series),
          layout_(layout),
          presence_(presence),
          path_(path) {}

    bool hasValue(std::int32_t slot) const {
        return traceHasValue(series_.drawn, series_.raw, series_.rso2, presence_, slot);
    }

    PointF point(std::int32_t slot, float x, float lowest) const {
        return {x, yOf(series_.drawn[static_cast<std::size_t>(slot)], lowest)};
    }
    float yOf(float value, float lowest = 11.0f) const {
        const float y = value * series_.scale + static_cast<float>(layout_.base);
        return limitTo(y, lowest, layout_.plotHeight + 9.0f);
    }
    PointF point(std::int32_t slot) const { return point(slot, layout_.slotX(slot), 11.0f); }

    void first() {
        if (hasValue(layout_.start)) {
            path_.begin(point(layout_.start, kPlotMargin, series_.rso2 ? kPlotMargin : 11.0f));
        }
    }

    // Any slot after the first. Returns whether the slot left a run open.
    bool step(std::int32_t i) {
        const bool value = hasValue(i);
        if (isTaggedSlot(store_, i)) {
            path_.end();
            // The haemoglobin traces resume at a restart whatever its value.
            if (value || !series_.rso2) {
                path_.begin(point(i));
                return true;
            }
        } else if (value) {
            path_.lineTo(point(i));
            return true;
        } else {
            path_.end();
        }
        return false;
    }

private:
    const Recording& store_;
    const TraceSeries& series_;
    const GraphLayout& layout_;
    Rso2Presence presence_;
    Sink& path_;
};

// The slots from `from` on in the same pixel column as `from`, found by reading no samples
// and, with `guess` slots a column, looking at one or two positions.
std::int32_t columnEnd(const GraphLayout& layout, std::int32_t from, double pixelsPerUnit,
                       std::int32_t guess) {
    const auto columnAt = [&](std::int32_t slot) {
        return columnOf(layout.slotX(slot), pixelsPerUnit);
    };
    const std::int64_t column = columnAt(from);
    std::int32_t end = from + std::clamp(guess, 1, layout.last - from);
    while (end > from + 1 && columnAt(end - 1) > column) {
        --end;
    }
    while (end < layout.last && columnAt(end) == column) {
        ++end;
    }
    return end;
}

}  // namespace

std::vector<std::int32_t> columnStarts(const GraphLayout& layout, double pixelsPerUnit) {
    std::vector<std::int32_t> starts;
    if (!layout.hasVisibleSlots() || !(pixelsPerUnit > 0.0)) {
        return starts;
    }
    const double perColumn = 1.0 / (static_cast<double>(layout.step) * pixelsPerUnit);
    const auto guess =
        perColumn >= 1.0 && perColumn < 1e9 ? static_cast<std::int32_t>(perColumn) : 1;
    for (std::int32_t from = layout.start; from < layout.last;
         from = columnEnd(layout, from, pixelsPerUnit, guess)) {
        starts.push_back(from);
    }
    starts.push_back(layout.last);
    return starts;
}

namespace {

// Feeds the trace's runs to a path or a span builder, which both take begin, lineTo and end.
template <class Sink>
void walkTrace(const ViewModel& model, const GraphLayout& layout, Channel trace,
               Rso2Presence rso2Presence, double pixelsPerUnit,
               std::span<const std::int32_t> starts, Sink& path) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const TraceSeries series = seriesOf(model, layout, trace);
    TraceWalker<Sink> walker(model, series, layout, rso2Presence, path);
    walker.first();
    const bool dense = pixelsPerUnit > 0.0 && layout.step > 0.0f &&
                       static_cast<double>(layout.step) * pixelsPerUnit < 1.0;
    if (!dense) {
        for (std::int32_t i = layout.start + 1; i < layout.last; ++i) {
            walker.step(i);
        }
        path.end();
        return;
    }
    std::vector<std::int32_t> ownStarts;
    if (starts.empty()) {
        ownStarts = columnStarts(layout, pixelsPerUnit);
        starts = ownStarts;
    }
    const TraceIndex& index = model.traceIndex(trace, rso2Presence);
    const std::span<const std::int32_t> breaks = index.breaks();
    std::size_t nextBreak = 0;
    for (std::size_t c = 0; c + 1 < starts.size(); ++c) {
        const std::int32_t from = starts[c];
        const std::int32_t to = starts[c + 1];
        // A column's first slot joins it to the one before; the rest, unbroken, reduce to
        // their first, lowest, highest and last point in slot order.
        while (nextBreak < breaks.size() && breaks[nextBreak] < from) {
            ++nextBreak;
        }
        const bool fromBreaks = nextBreak < breaks.size() && breaks[nextBreak] == from;
        bool open = true;
        if (from == layout.start) {
            open = walker.hasValue(from);
        } else if (fromBreaks) {
            open = walker.step(from);
        } else {
            path.lineTo(walker.point(from));  // a value, and no restart: the run goes on
        }
        nextBreak += fromBreaks ? 1 : 0;
        const bool unbroken = nextBreak == breaks.size() || breaks[nextBreak] >= to;
        if (open && to - from > 2 && unbroken) {
            if constexpr (std::is_same_v<Sink, ColumnSpanBuilder>) {
                // Spans need only how far the column reaches, not where along it.
                const ValueRange range = index.valueRange(from, to);
                path.extendColumn(walker.yOf(range.low), walker.yOf(range.high),
                                  walker.point(to - 1));
            } else {
                const SlotExtremes e = index.extremes(from, to);
                std::int32_t previous = from;
                for (const std::int32_t k :
                     {std::min(e.lowest, e.highest), std::max(e.lowest, e.highest), to - 1}) {
                    if (k != previous) {
                        path.lineTo(walker.point(k));
                        previous = k;
                    }
                }
            }
        } else {
            for (std::int32_t i = from + 1; i < to; ++i) {
                walker.step(i);
            }
        }
    }
    path.end();
}

}  // namespace

void buildTraceRuns(const ViewModel& model, const GraphLayout& layout, Channel trace,
                    Rso2Presence rso2Presence, double pixelsPerUnit, PolylinePath& path,
                    std::span<const std::int32_t> starts) {
    path.clear();
    walkTrace(model, layout, trace, rso2Presence, pixelsPerUnit, starts, path);
}

void traceColumnSpans(const ViewModel& model, const GraphLayout& layout, Channel trace,
                      Rso2Presence rso2Presence, double pixelsPerUnit, double lineWidth,
                      std::span<const std::int32_t> starts, std::vector<ColumnSpan>& spans) {
    ColumnSpanBuilder builder(pixelsPerUnit, lineWidth, spans);
    walkTrace(model, layout, trace, rso2Presence, pixelsPerUnit, starts, builder);
}

bool drawnAsColumnSpans(const GraphLayout& layout, double pixelsPerUnit) {
    // Four slots a column or more: few lines there are thin enough to show their smoothing.
    return layout.step > 0.0f && static_cast<double>(layout.step) * pixelsPerUnit <= 0.25;
}

void traceColumnSpans(const PolylinePath& runs, double pixelsPerUnit, double lineWidth,
                      std::vector<ColumnSpan>& spans) {
    ColumnSpanBuilder builder(pixelsPerUnit, lineWidth, spans);
    for (std::size_t r = 0; r < runs.runCount(); ++r) {
        const std::span<const PointF> run = runs.run(r);
        builder.begin(run.front());
        for (std::size_t k = 1; k < run.size(); ++k) {
            builder.lineTo(run[k]);
        }
    }
    builder.end();
}

void reduceToColumns(std::span<const PointF> run, double pixelsPerUnit,
                     std::vector<PointF>& reduced) {
    const auto column = [pixelsPerUnit](const PointF& p) { return columnOf(p.x, pixelsPerUnit); };
    std::size_t first = 0;
    while (first < run.size()) {
        const std::int64_t col = column(run[first]);
        std::size_t lowest = first;
        std::size_t highest = first;
        std::size_t next = first + 1;
        for (; next < run.size() && column(run[next]) == col; ++next) {
            if (run[next].y < run[lowest].y) {
                lowest = next;
            }
            if (run[next].y > run[highest].y) {
                highest = next;
            }
        }
        const std::size_t lastInColumn = next - 1;
        std::array<std::size_t, 4> keep{first, std::min(lowest, highest), std::max(lowest, highest),
                                        lastInColumn};
        std::size_t previous = run.size();
        for (const std::size_t k : keep) {
            if (k != previous) {
                reduced.push_back(run[k]);
                previous = k;
            }
        }
        first = next;
    }
}

}  // namespace nuvisca
