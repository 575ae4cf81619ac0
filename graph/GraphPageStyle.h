#pragma once

#include <optional>

namespace nuvisca {

struct ViewBounds {
    float width = 0.0f;
    float height = 0.0f;
    float originX = 0.0f;  // frame origin in the enclosing view
    float originY = 0.0f;
};

enum class Rso2Presence {
    AboveHundredth,  // > 0.01, compared in double precision
    AboveZero,       // > 0, compared in float32
};

// How one surface differs from another when the graph is drawn on it.
struct GraphPageStyle {
    // The on-screen view measures itself; the print page takes W and H from the view state
    // and leaves the view's own measurements alone.
    std::optional<ViewBounds> measuredBounds;
    bool drawBorder = true;
    Rso2Presence rso2Presence = Rso2Presence::AboveHundredth;
};

inline GraphPageStyle onScreenStyle(ViewBounds bounds) {
    return {bounds, true, Rso2Presence::AboveHundredth};
}

inline GraphPageStyle printPageStyle() {
    return {std::nullopt, false, Rso2Presence::AboveZero};
}

}  // namespace nuvisca
