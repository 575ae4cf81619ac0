#pragma once

#include "graph/Painter.h"
#include "store/Channels.h"

namespace nuvisca {

constexpr Rgba traceColour(Channel channel) {
    const ChannelColour& colour = kChannels[channel].colour;
    return {colour.red, colour.green, colour.blue, colour.alpha};
}

inline constexpr Rgba kGridColour{0.75f, 0.75f, 0.75f, 1.0f};       // grid lines and time ticks
inline constexpr Rgba kLabelColour{0.25f, 0.25f, 0.25f, 1.0f};      // scale and time labels
inline constexpr Rgba kRestartLabelColour{0.6f, 0.6f, 0.6f, 1.0f};  // restart labels

inline constexpr Rgba kWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Rgba kBlack{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Rgba kRed{1.0f, 0.0f, 0.0f, 1.0f};

}  // namespace nuvisca
