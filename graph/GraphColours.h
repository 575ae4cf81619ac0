#pragma once

#include "graph/Painter.h"

namespace nuvisca {

inline constexpr Rgba colorSto2{0.75f, 0.38f, 0.64f, 1.0f};
inline constexpr Rgba colorOxhb{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Rgba colorDxhb{0.0f, 0.0f, 1.0f, 1.0f};
inline constexpr Rgba colorTohb{0.0f, 1.0f, 0.0f, 1.0f};
inline constexpr Rgba colorLine1{0.75f, 0.75f, 0.75f, 1.0f};  // grid lines and time ticks
inline constexpr Rgba colorLine2{0.25f, 0.25f, 0.25f, 1.0f};  // scale and time labels
inline constexpr Rgba colorLine3{0.6f, 0.6f, 0.6f, 1.0f};     // restart labels

inline constexpr Rgba kWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Rgba kBlack{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Rgba kRed{1.0f, 0.0f, 0.0f, 1.0f};

}  // namespace nuvisca
