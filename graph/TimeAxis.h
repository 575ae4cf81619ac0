#pragma once

#include <cstdint>

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// Seconds between time ticks for the visible slots start .. last - 1.
std::int32_t tickInterval(std::int32_t start, std::int32_t last, std::int32_t viewSpan);

// Time ticks and their clock labels.
void drawTimeAxis(Painter& painter, const Recording& store, const GraphLayout& layout);

}  // namespace nuvisca
