#pragma once

#include <cstdint>
#include <vector>

#include "graph/DragRule.h"
#include "graph/GraphViewState.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// The whole recording across a strip `width` points wide: slot 0 at x 0, sampleCount at x
// width.
struct OverviewScale {
    double width = 0.0;
    std::int32_t slots = 0;

    double xOf(double slot) const { return slots > 0 ? slot * width / slots : 0.0; }
    double slotAt(double x) const { return width > 0.0 ? x * slots / width : 0.0; }
};

OverviewScale overviewScale(const Recording& store, double width);

// The visible range's box, its x edges held within the strip.
struct OverviewBox {
    double left = 0.0;
    double right = 0.0;
};
OverviewBox overviewBox(const GraphViewState& view, const OverviewScale& scale);

// Where a press took hold of the range: how many slots into it the pointer sits. A press on
// the box holds it where it was taken; elsewhere the range is centred under the pointer.
struct OverviewGrab {
    double slotsIntoRange = 0.0;
};
OverviewGrab grabOverview(const GraphViewState& view, const OverviewScale& scale, double x);

// The range with the grabbed point moved under x, held in as a scroll is.
VisibleRange overviewRange(const GraphViewState& view, const Recording& store,
                           const OverviewScale& scale, const OverviewGrab& grab, double x);

// One strip column of a series, as fractions of the strip height (rSO2 over 0..100 %, the
// indices over 0..1), clamped to 0..1.
struct OverviewColumn {
    bool hasValue = false;
    float low = 0.0f;
    float high = 0.0f;
};

// The lowest and highest value of each column, of the series the graph shows.
std::vector<OverviewColumn> overviewColumns(const ViewModel& model, Channel channel,
                                            std::int32_t columns);

// Slots after 0 with a time of their own: where the recording restarted.
std::vector<std::int32_t> restartSlots(const Recording& store);

}  // namespace nuvisca
