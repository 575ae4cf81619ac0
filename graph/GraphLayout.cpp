#include "graph/GraphLayout.h"

#include <algorithm>

#include "graph/DragRule.h"
#include "graph/SafeMath.h"

namespace nuvisca {

GraphLayout layoutGraph(const ViewModel& model, const GraphViewState& view) {
    const Recording& store = model.recording();
    GraphLayout layout;
    layout.width = view.viewWidth;
    layout.height = view.viewHeight;
    layout.plotWidth = plotWidth(view);
    layout.plotHeight = plotHeight(view);
    layout.viewSpan = view.viewSpan;
    layout.pixelsPerSample = pixelsPerSample(view);
    layout.zoomFactor = zoomFactor(model.zoomIndex());
    layout.zoomExtra = zoomExtra(model.zoomIndex());
    layout.averaged = model.averageWindow() != 0;
    for (std::size_t k = 0; k < layout.legend.size(); ++k) {
        const auto left = 120.0f * static_cast<float>(k + 1);
        layout.legend[k] = {left, view.viewHeight - 34.0f, left + 108.0f, view.viewHeight - 10.0f};
    }

    float offset = view.verticalOffset;
    layout.start = view.viewStart;
    layout.end = view.viewEnd;
    if (view.mouseDownInPlot) {
        const DragOutcome preview =
            dragOutcome(view, store, model.zoomIndex(),
                        {layout.pixelsPerSample, widening(view, store), view.viewSpan, true});
        offset = preview.verticalOffset;
        if (store.sampleCount > 0) {
            layout.start = preview.range.start;
            layout.end = preview.range.end;
        }
    } else {
        offset = offsetWithinReach(static_cast<float>(truncToInt(offset)),
                                   offsetReach(view, model.zoomIndex()));
    }
    layout.offset = truncToInt(offset);
    layout.base = clampToInt(static_cast<std::int64_t>(kPlotMargin) - layout.offset);

    layout.last = std::min(layout.end, store.sampleCount - 1);
    const std::int64_t shown = slotsShown(store, layout.start, layout.end);
    layout.compression =
        shown > layout.viewSpan
            ? static_cast<float>(static_cast<double>(layout.viewSpan) / static_cast<double>(shown))
            : 1.0f;
    layout.step = layout.compression * layout.pixelsPerSample;
    return layout;
}

std::int64_t slotsShown(const Recording& store, std::int64_t start, std::int64_t end) {
    return std::min(end, std::int64_t{store.sampleCount} - 1) - start;
}

double widening(const GraphViewState& view, const Recording& store) {
    const std::int64_t shown = slotsShown(store, view.viewStart, view.viewEnd);
    return view.viewSpan > 0 && shown > view.viewSpan
               ? static_cast<double>(shown) / static_cast<double>(view.viewSpan)
               : 1.0;
}

}  // namespace nuvisca
