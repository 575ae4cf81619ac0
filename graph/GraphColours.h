#pragma once

#include "graph/Painter.h"

namespace nuvisca {

inline constexpr Rgba kRso2Colour{0.75f, 0.38f, 0.64f, 1.0f};
inline constexpr Rgba kOxhbColour{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Rgba kDxhbColour{0.0f, 0.0f, 1.0f, 1.0f};
inline constexpr Rgba kTohbColour{0.0f, 1.0f, 0.0f, 1.0f};
inline constexpr Rgba kGridColour{0.75f, 0.75f, 0.75f, 1.0f};       // grid lines and time ticks
inline constexpr Rgba kLabelColour{0.25f, 0.25f, 0.25f, 1.0f};      // scale and time labels
inline constexpr Rgba kRestartLabelColour{0.6f, 0.6f, 0.6f, 1.0f};  // restart labels

inline constexpr Rgba kWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Rgba kBlack{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Rgba kRed{1.0f, 0.0f, 0.0f, 1.0f};

}  // namespace nuvisca
