#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graph/GraphLayout.h"
#include "graph/ViewModel.h"
#include "store/Channels.h"
#include "store/Recording.h"

namespace nuvisca {

// The visible slot nearest to view x, or none off the drawn slots.
std::optional<std::int32_t> slotUnder(const GraphLayout& layout, const Recording& store, float x);

struct ReadoutTrace {
    Channel channel = kRso2;
    std::string text;  // "rSO2 65.3 %", with the measured value beside an averaged one
};

// What the cursor readout shows for one slot.
struct Readout {
    std::string clock;                 // as the time axis counts it
    std::string elapsed;               // the CSV export's 経過時間, with its half second
    std::vector<ReadoutTrace> traces;  // the shown traces, rSO2 first
};

Readout readoutAt(const ViewModel& model, const ChannelFlags& traceShown, std::int32_t slot);

}  // namespace nuvisca
