#pragma once

#include "graph/GraphColours.h"
#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"

namespace nuvisca {

inline constexpr Rgba kSelectionShade{0.2f, 0.45f, 0.9f, 0.16f};
inline constexpr Rgba kEventShade{0.9f, 0.15f, 0.15f, 0.2f};

// A translucent colour laid over an opaque one, as one opaque colour.
constexpr Rgba over(const Rgba& top, const Rgba& below) {
    return {top.r * top.a + below.r * (1.0f - top.a), top.g * top.a + below.g * (1.0f - top.a),
            top.b * top.a + below.b * (1.0f - top.a), 1.0f};
}

// The bands as filled on the plot's white: an event, the selection, the selection over an
// event.
inline constexpr Rgba kEventBand = over(kEventShade, kWhite);
inline constexpr Rgba kSelectionBand = over(kSelectionShade, kWhite);
inline constexpr Rgba kSelectionOnEventBand = over(kSelectionShade, kEventBand);
inline constexpr Rgba kBaselineColour{0.2f, 0.2f, 0.2f, 1.0f};
inline constexpr Rgba kThresholdColour{0.75f, 0.1f, 0.1f, 1.0f};
inline constexpr double kWeakLine = 1.0;
inline constexpr double kStrongLine = 2.0;
inline constexpr double kDashLength = 6.0;
inline constexpr double kDashGap = 4.0;

// The visible part of the slots as an opaque band over the plot's height.
void shadeSlots(Painter& painter, const GraphLayout& layout, SlotSpan span, const Rgba& colour);

// The selection and the desaturation events as bands over the plot's height, drawn under the
// traces. They lie on the plot's white, so each is filled opaque in its colour laid over white:
// blended fills cost twice a whole draw, as the raster engine spreads them over threads.
void drawReviewBands(Painter& painter, const ViewModel& model, SlotSpan selection,
                     const GraphLayout& layout);

// The baseline and the thresholds as dashed lines across the plot at their rSO2 heights; the
// effective threshold is the stronger line.
void drawReviewLines(Painter& painter, const ViewModel& model, const GraphLayout& layout);

}  // namespace nuvisca
