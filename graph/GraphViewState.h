#pragma once

#include <array>
#include <cstdint>

#include "store/Channels.h"

namespace nuvisca {

inline constexpr float kLegendRowHeight = 24.0f;   // legend row height and legend font size
inline constexpr float kHeadingRowHeight = 18.0f;  // heading row height and heading font size
inline constexpr float kPlotMargin = 10.0f;        // from the view's left, right and lower edges

// Whether a plain drag is following the mouse along the time axis or up and down.
enum class DragPhase { kHorizontal, kVertical };

// Slots start <= i < end; empty when start == end.
struct SlotSpan {
    std::int32_t start = 0;
    std::int32_t end = 0;
    bool empty() const { return end <= start; }
    friend bool operator==(const SlotSpan&, const SlotSpan&) = default;
};

// The graph's geometry, visible range, vertical offset, trace selection and drag state,
// shared by the graph view, its mouse handlers, the controller and the print page.
// Coordinates are points, origin at the lower left, y upwards.
struct GraphViewState {
    float viewWidth = 0.0f;
    float viewHeight = 0.0f;
    float viewOriginX = 0.0f;
    float viewOriginY = 0.0f;

    std::int32_t viewSpan = 0;   // samples across the plot width at the base scale
    std::int32_t viewStart = 0;  // first visible sample
    std::int32_t viewEnd = 0;    // end of the visible range (exclusive)

    float verticalOffset = 0.0f;  // how far the zoomed traces are scrolled down

    ChannelFlags traceShown{false, false, true, true};

    bool mouseDownInPlot = false;
    bool shiftDrag = false;
    bool controlDrag = false;
    DragPhase dragPhase = DragPhase::kHorizontal;
    bool selecting = false;  // an Alt drag marking the selection
    std::int32_t selectionAnchor = 0;
    SlotSpan selection;

    float dragX = 0.0f;
    float dragY = 0.0f;
    float anchorX = 0.0f;
    float anchorY = 0.0f;
    float lastDragX = 0.0f;
    float lastDragY = 0.0f;
};

struct ViewBounds {
    float width = 0.0f;
    float height = 0.0f;
    float originX = 0.0f;  // frame origin in the enclosing view
    float originY = 0.0f;
};

// Start-up values: nothing visible, only toHb and rSO2 shown.
void resetGraphViewState(GraphViewState& view);

// The visible range after every read that got past the header check.
void resetVisibleRange(GraphViewState& view, std::int32_t spanSamples);

// What the on-screen view takes from its size each time it paints: its measures, and an
// offset that the zoom no longer lets scroll at all falls back to 0 once no press holds it.
void settleView(GraphViewState& view, std::int32_t zoomIndex, const ViewBounds& bounds);

// plotWidth = viewWidth - 20, plotHeight = viewHeight - 72.
float plotWidth(const GraphViewState& view);
float plotHeight(const GraphViewState& view);

// The view's own measure of viewSpan at every paint: 900, or the width when narrower.
std::int32_t viewSpanForWidth(float viewWidth);

// plotWidth / viewSpan, divided in double precision and kept as float32.
float pixelsPerSample(const GraphViewState& view);

// Value-axis stretch and how many plot heights the traces may scroll down.
float zoomFactor(std::int32_t zoomIndex);
float zoomExtra(std::int32_t zoomIndex);

// How far down the traces may be scrolled: zoomExtra plot heights.
float offsetReach(const GraphViewState& view, std::int32_t zoomIndex);

// The offset held within 0 .. reach; below 0 it is 0 even where a view too small for its
// plot has a negative reach.
float offsetWithinReach(float offset, float reach);

}  // namespace nuvisca
