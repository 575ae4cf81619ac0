#include "graph/TraceRuns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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

// floor() without the library call: this runs for every point of a widened trace.
std::int64_t columnOf(double x, double pixelsPerUnit) {
    const double v = x * pixelsPerUnit;
    if (!(v > -1e15 && v < 1e15)) {
        return 0;
    }
    const auto c = static_cast<std::int64_t>(v);
    return static_cast<double>(c) > v ? c - 1 : c;
}

class TraceWalker {
public:
    TraceWalker(const ViewModel& model, const TraceSeries& series, const GraphLayout& layout,
                Rso2Presence presence, PolylinePath& path)
        : store_(model.recording()),
          series_(series),
          layout_(layout),
          presence_(presence),
          path_(path) {}

    bool hasValue(std::int32_t slot) const {
        return traceHasValue(series_.drawn, series_.raw, series_.rso2, presence_, slot);
    }

    PointF point(std::int32_t slot, float x, float lowest) const {
        const float v = series_.drawn[static_cast<std::size_t>(slot)];
        const float y = v * series_.scale + static_cast<float>(layout_.base);
        return {x, limitTo(y, lowest, layout_.plotHeight + 9.0f)};
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
    PolylinePath& path_;
};

// The slots from `from` on in the same pixel column as `from`, found without reading them.
std::int32_t columnEnd(const GraphLayout& layout, std::int32_t from, double pixelsPerUnit) {
    const std::int64_t column = columnOf(layout.slotX(from), pixelsPerUnit);
    const double nextX = static_cast<double>(column + 1) / pixelsPerUnit;
    const double guess = std::ceil((nextX - kPlotMargin) / layout.step) + layout.start;
    auto end = static_cast<std::int32_t>(
        std::clamp(guess, static_cast<double>(from + 1), static_cast<double>(layout.last)));
    while (end > from + 1 && columnOf(layout.slotX(end - 1), pixelsPerUnit) > column) {
        --end;
    }
    while (end < layout.last && columnOf(layout.slotX(end), pixelsPerUnit) == column) {
        ++end;
    }
    return end;
}

}  // namespace

void buildTraceRuns(const ViewModel& model, const GraphLayout& layout, Channel trace,
                    Rso2Presence rso2Presence, double pixelsPerUnit, PolylinePath& path) {
    path.clear();
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const TraceSeries series = seriesOf(model, layout, trace);
    TraceWalker walker(model, series, layout, rso2Presence, path);
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
    const TraceIndex& index = model.traceIndex(trace, rso2Presence);
    std::int32_t from = layout.start;
    while (from < layout.last) {
        const std::int32_t to = columnEnd(layout, from, pixelsPerUnit);
        // A column's first slot joins it to the one before; the rest, unbroken, reduce to
        // their first, lowest, highest and last point in slot order.
        const bool open = from == layout.start ? walker.hasValue(from) : walker.step(from);
        if (open && to - from > 2 && !index.breaksWithin(from + 1, to)) {
            const SlotExtremes e = index.extremes(from, to);
            std::int32_t previous = from;
            for (const std::int32_t k :
                 {std::min(e.lowest, e.highest), std::max(e.lowest, e.highest), to - 1}) {
                if (k != previous) {
                    path.lineTo(walker.point(k));
                    previous = k;
                }
            }
        } else {
            for (std::int32_t i = from + 1; i < to; ++i) {
                walker.step(i);
            }
        }
        from = to;
    }
    path.end();
}

bool drawnAsColumnSpans(const GraphLayout& layout, double pixelsPerUnit) {
    // Four slots a column or more: few lines there are thin enough to show their smoothing.
    return layout.step > 0.0f && static_cast<double>(layout.step) * pixelsPerUnit <= 0.25;
}

void traceColumnSpans(const PolylinePath& runs, double pixelsPerUnit, double lineWidth,
                      std::vector<ColumnSpan>& spans) {
    spans.clear();
    const double half = lineWidth * pixelsPerUnit / 2.0;
    const auto reach = std::max<std::int64_t>(1, std::llround(half));
    std::vector<double> low;
    std::vector<double> high;
    for (std::size_t r = 0; r < runs.runCount(); ++r) {
        const std::span<const PointF> run = runs.run(r);
        if (run.size() < 2) {
            continue;
        }
        const std::int64_t firstColumn = columnOf(run.front().x, pixelsPerUnit);
        const std::int64_t lastColumn = columnOf(run.back().x, pixelsPerUnit);
        const auto count = static_cast<std::size_t>(lastColumn - firstColumn + 1);
        low.assign(count, std::numeric_limits<double>::infinity());
        high.assign(count, -std::numeric_limits<double>::infinity());
        for (std::size_t k = 1; k < run.size(); ++k) {
            const double x0 = run[k - 1].x * pixelsPerUnit;
            const double y0 = run[k - 1].y * pixelsPerUnit;
            const double x1 = run[k].x * pixelsPerUnit;
            const double y1 = run[k].y * pixelsPerUnit;
            const double slope = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0;
            const std::int64_t to = columnOf(run[k].x, pixelsPerUnit);
            for (std::int64_t c = columnOf(run[k - 1].x, pixelsPerUnit); c <= to; ++c) {
                const auto i = static_cast<std::size_t>(c - firstColumn);
                const double ya = y0 + slope * (std::max(x0, static_cast<double>(c)) - x0);
                const double yb = c == to ? y1 : y0 + slope * (static_cast<double>(c + 1) - x0);
                low[i] = std::min({low[i], ya, yb});
                high[i] = std::max({high[i], ya, yb});
            }
        }
        for (std::int64_t column = firstColumn - reach; column < lastColumn + reach; ++column) {
            double bottom = std::numeric_limits<double>::infinity();
            double top = -bottom;
            const std::int64_t from = std::max(column - reach + 1, firstColumn);
            const std::int64_t to = std::min(column + reach, lastColumn);
            for (std::int64_t c = from; c <= to; ++c) {
                bottom = std::min(bottom, low[static_cast<std::size_t>(c - firstColumn)]);
                top = std::max(top, high[static_cast<std::size_t>(c - firstColumn)]);
            }
            if (bottom <= top) {
                spans.push_back({static_cast<std::int32_t>(column),
                                 static_cast<std::int32_t>(std::ceil(bottom - half - 0.5)),
                                 static_cast<std::int32_t>(std::floor(top + half - 0.5))});
            }
        }
    }
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
