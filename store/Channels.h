#pragma once

#include <array>
#include <string_view>

#include "store/Recording.h"

namespace nuvisca {

// One flag per channel, indexed by Channel: the traces shown or hidden.
using ChannelFlags = std::array<bool, kChannelCount>;

// Fractions 0..1.
struct ChannelColour {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
};

// Everything the views, the exports and the command line say of a channel.
struct ChannelInfo {
    std::string_view name;           // the readout, the statistics and the EDF+ label
    std::string_view legendName;     // the legend and the trace menu
    std::string_view key;            // command-line names and the statistics' keys
    std::string_view unit;           // the EDF+ physical dimension
    std::string_view heading;        // the CSV export's column heading; rSO2's heads the left scale
    int decimals = 0;                // of the values in the CSV export and the statistics
    const char* readoutFormat = "";  // printf format of one value in the cursor readout
    float fullScale = 1.0f;          // the value at the top of the plot at 1x
    ChannelColour colour;
};

// Indexed by Channel.
inline constexpr std::array<ChannelInfo, kChannelCount> kChannels{{
    {.name = "oxHb",
     .legendName = "OXHB",
     .key = "oxhb",
     .unit = "Index",
     .heading = "oxHb[Index]",
     .decimals = 5,
     .readoutFormat = "%.3f",
     .fullScale = 1.0f,
     .colour = {1.0f, 0.0f, 0.0f, 1.0f}},
    {.name = "dxHb",
     .legendName = "DXHB",
     .key = "dxhb",
     .unit = "Index",
     .heading = "dxHb[Index]",
     .decimals = 5,
     .readoutFormat = "%.3f",
     .fullScale = 1.0f,
     .colour = {0.0f, 0.0f, 1.0f, 1.0f}},
    {.name = "toHb",
     .legendName = "TOHB",
     .key = "tohb",
     .unit = "Index",
     .heading = "toHb[Index]",
     .decimals = 5,
     .readoutFormat = "%.3f",
     .fullScale = 1.0f,
     .colour = {0.0f, 1.0f, 0.0f, 1.0f}},
    {.name = "rSO2",
     .legendName = "rSO2",
     .key = "rso2",
     .unit = "%",
     .heading = "rSO2[%]",
     .decimals = 2,
     .readoutFormat = "%.1f %%",
     .fullScale = 100.0f,
     .colour = {0.75f, 0.38f, 0.64f, 1.0f}},
}};

// The order in which the exports, the statistics and the readout list the channels.
inline constexpr std::array<Channel, kChannelCount> kListingOrder{kRso2, kOxhb, kDxhb, kTohb};

}  // namespace nuvisca
