#pragma once

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "graph/ReviewMarks.h"
#include "store/Markers.h"

namespace nuvisca {

// Amber, apart from the traces, the red restarts and thresholds and the blue selection.
inline constexpr Rgba kMarkerColour{0.9f, 0.5f, 0.0f, 1.0f};
inline constexpr Rgba kMarkerLabelColour{0.65f, 0.33f, 0.0f, 1.0f};
inline constexpr Rgba kMarkerBand = over({1.0f, 0.7f, 0.1f, 0.18f}, kWhite);
inline constexpr double kMarkerLineWidth = 2.0;
inline constexpr double kMarkerFontSize = 16.0;
inline constexpr double kMarkerRowPitch = 24.0;

// The slots of each marker with a duration, as opaque bands under the traces; the review's
// bands are drawn over them.
void drawMarkerBands(Painter& painter, const Markers& markers, const GraphLayout& layout);

// A dashed line across the plot at each marker in the visible range.
void drawMarkerLines(Painter& painter, const Markers& markers, const GraphLayout& layout);

// Each line's label under the clock labels at the top of the plot, beside its line as a restart's
// label stands, in rows downwards so that labels of neighbouring markers stay apart; a label
// that finds no row free is left out.
void drawMarkerLabels(Painter& painter, const Markers& markers, const GraphLayout& layout);

}  // namespace nuvisca
