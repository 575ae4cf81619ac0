#include "graph/TraceRuns.h"

#include <algorithm>
#include <array>

#include "graph/SafeMath.h"
#include "graph/SlotClock.h"
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

class TraceWalker {
public:
    TraceWalker(const TraceSeries& series, const GraphLayout& layout, Rso2Presence presence)
        : series_(series), layout_(layout), presence_(presence) {}

    bool hasValue(std::int32_t slot) const {
        const auto i = static_cast<std::size_t>(slot);
        if (!series_.rso2) {
            return series_.drawn[i] >= 0.0f;
        }
        // The measured series decides, also when the averaged one is drawn.
        if (presence_ == Rso2Presence::AboveZero) {
            return series_.raw[i] > 0.0f;
        }
        return static_cast<double>(series_.raw[i]) > 0.01;
    }

    PointF point(std::int32_t slot, float x, float lowest) const {
        const float v = series_.drawn[static_cast<std::size_t>(slot)];
        const float y = v * series_.scale + static_cast<float>(layout_.base);
        return {x, limitTo(y, lowest, layout_.plotHeight + 9.0f)};
    }

private:
    const TraceSeries& series_;
    const GraphLayout& layout_;
    Rso2Presence presence_;
};

}  // namespace

void buildTraceRuns(const ViewModel& model, const GraphLayout& layout, Channel trace,
                    Rso2Presence rso2Presence, PolylinePath& path) {
    path.clear();
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const Recording& store = model.recording();
    const TraceSeries series = seriesOf(model, layout, trace);
    const TraceWalker walker(series, layout, rso2Presence);
    if (walker.hasValue(layout.start)) {
        path.begin(walker.point(layout.start, kPlotMargin, series.rso2 ? kPlotMargin : 11.0f));
    }
    for (std::int32_t i = layout.start + 1; i < layout.last; ++i) {
        const bool value = walker.hasValue(i);
        if (isTaggedSlot(store, i)) {
            path.end();
            // The haemoglobin traces resume at a restart whatever its value.
            if (value || !series.rso2) {
                path.begin(walker.point(i, layout.slotX(i), 11.0f));
            }
        } else if (value) {
            path.lineTo(walker.point(i, layout.slotX(i), 11.0f));
        } else {
            path.end();
        }
    }
    path.end();
}

void reduceToColumns(std::span<const PointF> run, double pixelsPerUnit,
                     std::vector<PointF>& reduced) {
    // floor() without the library call: this runs for every sample of a widened trace.
    const auto column = [pixelsPerUnit](const PointF& p) {
        const double v = p.x * pixelsPerUnit;
        if (!(v > -1e15 && v < 1e15)) {
            return std::int64_t{0};
        }
        const auto c = static_cast<std::int64_t>(v);
        return static_cast<double>(c) > v ? c - 1 : c;
    };
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
