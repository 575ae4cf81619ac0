#include "graph/TraceSpansCache.h"

#include <future>
#include <span>

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
    std::vector<Channel> walked;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        if (view.traceShown[c] && kept_[c].key != key) {
            walked.push_back(static_cast<Channel>(c));
        }
    }
    if (walked.empty()) {
        return;
    }
    const std::vector<std::int32_t> starts = columnStarts(layout, pixelsPerUnit);
    const auto walk = [&](std::span<const Channel> traces) {
        for (const Channel trace : traces) {
            traceColumnSpans(model, layout, trace, presence, pixelsPerUnit, kTraceLineWidth, starts,
                             kept_[trace].spans);
        }
    };
    // The traces read the model and each writes its own spans: half of them on a second core.
    const std::span<const Channel> all(walked);
    const std::size_t half = walked.size() / 2;
    std::future<void> helped;
    if (half > 0) {
        helped = std::async(std::launch::async, walk, all.first(half));
    }
    walk(all.subspan(half));
    if (helped.valid()) {
        helped.get();
    }
    for (const Channel trace : walked) {
        kept_[trace].key = key;
        ++walks_;
    }
}

}  // namespace nuvisca
