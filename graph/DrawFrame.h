#pragma once

#include <cstdint>

#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// Working values of one draw, shared by its steps.
struct DrawFrame {
    float width = 0.0f;  // W and H of the surface
    float height = 0.0f;
    float plotHeight = 0.0f;
    std::int32_t viewSpan = 0;
    float pixelsPerSample = 0.0f;
    float zoomFactor = 1.0f;
    float zoomExtra = 0.0f;
    bool averaged = false;

    std::int32_t offset = 0;  // whole points the traces are scrolled down
    std::int32_t base = 10;   // y of the value 0

    std::int32_t start = 0;  // visible slots: start .. last - 1
    std::int32_t end = 0;
    std::int32_t last = 0;
    float compression = 1.0f;
    float step = 0.0f;  // x distance between neighbouring slots

    float slotX(std::int32_t slot) const { return static_cast<float>(slot - start) * step + 10.0f; }

    // Whether the steps that walk the visible slots have any to walk.
    bool hasVisibleSlots() const { return viewSpan > 0 && start >= 0 && start < last; }
};

// What follows from the state's size, zoom and moving-average choice.
DrawFrame beginDrawFrame(const MeasurementStore& store, const GraphViewState& view);

// The offset and visible range this draw uses, with the pending drag previewed.
void previewDrag(const MeasurementStore& store, GraphViewState& view, DrawFrame& frame);

}  // namespace nuvisca
