#pragma once

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"

namespace nuvisca {

inline constexpr Rgba kSelectionShade{0.2f, 0.45f, 0.9f, 0.16f};
inline constexpr Rgba kEventShade{0.9f, 0.15f, 0.15f, 0.2f};
inline constexpr Rgba kBaselineColour{0.2f, 0.2f, 0.2f, 1.0f};
inline constexpr Rgba kThresholdColour{0.75f, 0.1f, 0.1f, 1.0f};
inline constexpr double kWeakLine = 1.0;
inline constexpr double kStrongLine = 2.0;

// The selection and the desaturation events as bands over the plot's height, drawn under the
// traces.
void drawReviewBands(Painter& painter, const ViewModel& model, const GraphLayout& layout);

// The baseline and the thresholds as dashed lines across the plot at their rSO2 heights; the
// effective threshold is the stronger line.
void drawReviewLines(Painter& painter, const ViewModel& model, const GraphLayout& layout);

}  // namespace nuvisca
