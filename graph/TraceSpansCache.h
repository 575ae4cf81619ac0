#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "graph/GraphLayout.h"
#include "graph/GraphPageStyle.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"

namespace nuvisca {

// All that a dense trace's spans are drawn from: while it stays equal, so do they.
struct TraceSpansKey {
    const ViewModel* model = nullptr;
    std::uint64_t seriesRevision = 0;
    Rso2Presence presence = Rso2Presence::AboveHundredth;
    std::int32_t start = 0;
    std::int32_t last = 0;
    float step = 0.0f;
    float plotHeight = 0.0f;
    float zoomFactor = 0.0f;
    std::int32_t base = 0;
    double pixelsPerUnit = 0.0;
    friend bool operator==(const TraceSpansKey&, const TraceSpansKey&) = default;
};

TraceSpansKey traceSpansKey(const ViewModel& model, const GraphLayout& layout,
                            Rso2Presence presence, double pixelsPerUnit);

// The last frame's spans of each dense trace. A frame whose traces have not moved (a marker,
// the selection or the events changed) fills them again without walking the traces.
class TraceSpansCache {
public:
    // Builds the spans of the shown traces that are not kept for this layout yet, at that many
    // device pixels a point. A view may do so before it clears its picture, while the series
    // are still in the cache.
    void prepare(const ViewModel& model, const GraphViewState& view, const GraphLayout& layout,
                 Rso2Presence presence, double pixelsPerUnit);
    // A trace's spans, as the last prepare left them.
    const std::vector<ColumnSpan>& spans(Channel trace) const { return kept_[trace].spans; }
    // How many traces have been walked: a frame of unmoved traces walks none.
    int walks() const { return walks_; }

private:
    struct Kept {
        std::optional<TraceSpansKey> key;
        std::vector<ColumnSpan> spans;
    };
    std::array<Kept, kChannelCount> kept_;
    int walks_ = 0;
};

}  // namespace nuvisca
