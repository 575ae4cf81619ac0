#pragma once

#include <array>
#include <cstdint>

namespace nuvisca {

inline constexpr float kLegendRowHeight = 24.0f;   // legend row height and legend font size
inline constexpr float kHeadingRowHeight = 18.0f;  // heading row height and heading font size

// The graph's geometry, visible range, vertical offset, trace selection and drag state,
// shared by the graph view, its mouse handlers, the readers, the controller and the
// print page. Coordinates are points, origin at the lower left, y upwards.
struct GraphViewState {
    float viewWidth = 0.0f;
    float viewHeight = 0.0f;
    float viewOriginX = 0.0f;
    float viewOriginY = 0.0f;

    std::int32_t viewSpan = 0;   // samples across the plot width at the base scale
    std::int32_t viewStart = 0;  // first visible sample
    std::int32_t viewEnd = 0;    // end of the visible range (exclusive)

    float verticalOffset = 0.0f;  // how far the zoomed traces are scrolled down

    std::array<std::int32_t, 4> traceShown{0, 0, 1, 1};
    std::array<float, 4> legendLeft{};
    std::array<float, 4> legendBottom{};
    std::array<float, 4> legendRight{};
    std::array<float, 4> legendTop{};

    std::int32_t mouseDownInPlot = 0;
    std::int32_t shiftDrag = 0;
    std::int32_t controlDrag = 0;
    std::int32_t dragPhase = 0;  // 0 horizontal, 1 vertical

    float dragX = 0.0f;
    float dragY = 0.0f;
    float anchorX = 0.0f;
    float anchorY = 0.0f;
    float lastDragX = 0.0f;
    float lastDragY = 0.0f;
};

// Start-up values: nothing visible, only toHb and rSO2 shown.
void resetGraphViewState(GraphViewState& view);

// The visible range after every read that got past the header check.
void resetVisibleRange(GraphViewState& view, std::int32_t spanSamples);

// plotWidth = viewWidth - 20, plotHeight = viewHeight - 72.
float plotWidth(const GraphViewState& view);
float plotHeight(const GraphViewState& view);

// The view's own measure of viewSpan at every draw: 900, or the width when narrower.
std::int32_t viewSpanForWidth(float viewWidth);

// plotWidth / viewSpan, divided in double precision and kept as float32.
float pixelsPerSample(const GraphViewState& view);

// Value-axis stretch and how many plot heights the traces may scroll down.
float zoomFactor(std::int32_t zoomIndex);
float zoomExtra(std::int32_t zoomIndex);

}  // namespace nuvisca
