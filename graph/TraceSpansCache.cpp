#include "graph/TraceSpansCache.h"

#include "graph/TraceRuns.h"

namespace nuvisca {

TraceSpansKey traceSpansKey(const ViewModel& model, const GraphLayout& layout,
                            Rso2Presence presence, double pixelsPerUnit) {
    return {&model,      model.seriesRevision(), presence,          layout.start, layout.last,
            layout.step, layout.plotHeight,      layout.zoomFactor, layout.base,  pixelsPerUnit};
}

void TraceSpansCache::prepare(const ViewModel& model, const GraphViewState& view,
                              const GraphLayout& layout, Rso2Presence presence,
                              double pixelsPerUnit) {
    const TraceSpansKey key = traceSpansKey(model, layout, presence, pixelsPerUnit);
    std::vector<std::int32_t> starts;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        Kept& kept = kept_[c];
        if (!view.traceShown[c] || kept.key == key) {
            continue;
        }
        if (starts.empty()) {
            starts = columnStarts(layout, pixelsPerUnit);  // for all the traces walked
        }
        traceColumnSpans(model, layout, static_cast<Channel>(c), presence, pixelsPerUnit,
                         kTraceLineWidth, starts, kept.spans);
        kept.key = key;
        ++walks_;
    }
}

}  // namespace nuvisca
