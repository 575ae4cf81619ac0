#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/Baseline.h"
#include "store/Desaturation.h"

namespace nuvisca {

// The events CSV's header line, ending in '\n'.
std::string eventsCsvHeader();

// A line per event, ending in '\n', numbered from 1: the file as given (quoted when it must
// be), the slots, the 測定時刻 and 経過時間 the export writes for the first slot, and the
// event's figures.
void appendEventsCsvRows(std::string& out, std::string_view file, const Recording& store,
                         const Desaturations& found);

// The readable table of one file's events with their sums, lines ending in '\n'.
std::string formatEventsText(std::string_view file, const Recording& store,
                             const std::optional<Baseline>& baseline, const Desaturations& found);

}  // namespace nuvisca
