#include "graph/Overview.h"

#include <algorithm>

#include "graph/RangeNavigation.h"
#include "graph/SlotClock.h"
#include "store/Channels.h"

namespace nuvisca {
namespace {

bool hasValue(Channel channel, float measured, float value) {
    // rSO2 counts by its measured value, as the drawing decides.
    return channel == kRso2 ? static_cast<double>(measured) > 0.01 && value >= 0.0f : value >= 0.0f;
}

}  // namespace

OverviewScale overviewScale(const Recording& store, double width) {
    return {std::max(width, 0.0), std::max(store.sampleCount, 0)};
}

OverviewBox overviewBox(const GraphViewState& view, const OverviewScale& scale) {
    const auto hold = [&](double x) { return std::clamp(x, 0.0, scale.width); };
    return {hold(scale.xOf(view.viewStart)), hold(scale.xOf(view.viewEnd))};
}

OverviewGrab grabOverview(const GraphViewState& view, const OverviewScale& scale, double x) {
    const OverviewBox box = overviewBox(view, scale);
    if (x >= box.left && x <= box.right) {
        return {scale.slotAt(x) - view.viewStart};
    }
    return {(static_cast<double>(view.viewEnd) - view.viewStart) / 2.0};
}

VisibleRange overviewRange(const GraphViewState& view, const Recording& store,
                           const OverviewScale& scale, const OverviewGrab& grab, double x) {
    return rangeStartingAt(view, store, scale.slotAt(x) - grab.slotsIntoRange);
}

std::vector<OverviewColumn> overviewColumns(const ViewModel& model, Channel channel,
                                            std::int32_t columns) {
    const Recording& store = model.recording();
    std::vector<OverviewColumn> result(static_cast<std::size_t>(std::max(columns, 0)));
    const std::int64_t slots = store.sampleCount;
    if (slots <= 0) {
        return result;
    }
    const SampleArray& measured = store.measured[channel];
    const SampleArray& shown = model.shownSeries(channel);
    const float full = kChannels[channel].fullScale;
    for (std::int64_t c = 0; c < columns; ++c) {
        const std::int64_t from = c * slots / columns;
        const std::int64_t to = std::max((c + 1) * slots / columns, from + 1);
        OverviewColumn& column = result[static_cast<std::size_t>(c)];
        for (std::int64_t i = from; i < std::min(to, slots); ++i) {
            const auto slot = static_cast<std::size_t>(i);
            if (!hasValue(channel, measured[slot], shown[slot])) {
                continue;
            }
            const float v = std::clamp(shown[slot] / full, 0.0f, 1.0f);
            column.low = column.hasValue ? std::min(column.low, v) : v;
            column.high = column.hasValue ? std::max(column.high, v) : v;
            column.hasValue = true;
        }
    }
    return result;
}

std::vector<std::int32_t> restartSlots(const Recording& store) {
    std::vector<std::int32_t> slots;
    for (std::int32_t i = 1; i < store.sampleCount; ++i) {
        if (isTaggedSlot(store, i)) {
            slots.push_back(i);
        }
    }
    return slots;
}

}  // namespace nuvisca
