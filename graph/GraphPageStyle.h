#pragma once

namespace nuvisca {

enum class Rso2Presence {
    AboveHundredth,  // > 0.01, compared in double precision
    AboveZero,       // > 0, compared in float32
};

// How one surface differs from another when the graph is drawn on it.
struct GraphPageStyle {
    bool drawBorder = true;
    Rso2Presence rso2Presence = Rso2Presence::AboveHundredth;
};

inline constexpr GraphPageStyle kOnScreenStyle{true, Rso2Presence::AboveHundredth};
inline constexpr GraphPageStyle kPrintPageStyle{false, Rso2Presence::AboveZero};

}  // namespace nuvisca
