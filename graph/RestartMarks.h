#pragma once

#include <cstdint>
#include <span>

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// `restarts` are the recording's restart slots, ascending.

// A red line at every restart inside the visible range.
void drawRestartLines(Painter& painter, std::span<const std::int32_t> restarts,
                      const GraphLayout& layout);

// At every restart, the clock reached before it and the time it resumed at.
void drawRestartLabels(Painter& painter, const Recording& store,
                       std::span<const std::int32_t> restarts, const GraphLayout& layout);

}  // namespace nuvisca
