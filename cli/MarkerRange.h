#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "store/Markers.h"

namespace nuvisca::cli {

// --between LABEL1 LABEL2: the slots from the first marker labelled LABEL1 up to the first
// labelled LABEL2.
struct MarkerLabels {
    std::string from;
    std::string to;
};

// Takes "--between LABEL1 LABEL2" out of args (before any "--"), since the option has two
// values; false after a usage error (said on stderr) when it lacks them or comes twice.
bool takeBetween(std::string_view command, std::vector<std::string_view>& args,
                 std::optional<MarkerLabels>& between);

// The slots first(from) <= i < first(to) of the markers; none after a usage error (said on
// stderr) that names the labels the file has, when a label is missing or `to` is not after
// `from`.
std::optional<SlotRange> slotsBetween(std::string_view command, const std::string& file,
                                      const Markers& markers, const MarkerLabels& between);

}  // namespace nuvisca::cli
