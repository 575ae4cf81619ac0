#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// Seconds between time ticks for the visible slots start .. last - 1.
std::int32_t tickInterval(std::int32_t start, std::int32_t last, std::int32_t viewSpan);

// The lower edge of a row of clock labels (0 the upper, 1 the lower) under the top of the plot.
float timeLabelRowY(const GraphLayout& layout, std::size_t row);

// Time ticks and their clock labels; `restarts` are the recording's restart slots, ascending.
void drawTimeAxis(Painter& painter, const Recording& store, std::span<const std::int32_t> restarts,
                  const GraphLayout& layout);

}  // namespace nuvisca
