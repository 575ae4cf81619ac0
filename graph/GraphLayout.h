#pragma once

#include <array>
#include <cstdint>

#include "graph/GraphViewState.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// A legend entry's clickable box: left and bottom edges inside, right and top outside.
struct LegendBox {
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    float top = 0.0f;

    bool contains(float x, float y) const {
        return left <= x && x < right && bottom <= y && y < top;
    }
};

// Everything the drawing and the mouse must agree on, from the view's size and state: the
// plot, the legend boxes, the offset drawn and the visible slots with a pending drag shown.
struct GraphLayout {
    float width = 0.0f;  // W and H of the surface
    float height = 0.0f;
    float plotWidth = 0.0f;
    float plotHeight = 0.0f;
    std::int32_t viewSpan = 0;
    float pixelsPerSample = 0.0f;
    float zoomFactor = 1.0f;
    float zoomExtra = 0.0f;
    bool averaged = false;
    std::array<LegendBox, kChannelCount> legend{};  // in channel order

    std::int32_t offset = 0;  // whole points the traces are scrolled down
    std::int32_t base = static_cast<std::int32_t>(kPlotMargin);  // y of the value 0

    std::int32_t start = 0;  // visible slots: start .. last - 1
    std::int32_t end = 0;
    std::int32_t last = 0;
    float compression = 1.0f;
    float step = 0.0f;  // x distance between neighbouring slots

    float slotX(std::int32_t slot) const {
        return static_cast<float>(slot - start) * step + kPlotMargin;
    }

    // Whether the steps that walk the visible slots have any to walk.
    bool hasVisibleSlots() const { return viewSpan > 0 && start >= 0 && start < last; }

    // Inside the plot; `left` is kPlotMargin for a press, which may not start on the frame, 0
    // for a drag.
    bool insidePlot(float x, float y, float left) const {
        return x > left && x < plotWidth + kPlotMargin && y > kPlotMargin &&
               y < plotHeight + kPlotMargin;
    }
};

// The layout of the model's recording in a view of that state: the model's own view on
// screen, or one settled to a page.
GraphLayout layoutGraph(const ViewModel& model, const GraphViewState& view);

// Slots drawn from `start` for a range ending at `end`; the recording's final slot is never
// drawn.
std::int64_t slotsShown(const Recording& store, std::int64_t start, std::int64_t end);

// How many times viewSpan the plot's width holds as the visible range is drawn: 1 at the base
// scale, more once the range is widened beyond it.
double widening(const GraphViewState& view, const Recording& store);

}  // namespace nuvisca
