#pragma once

#include <optional>
#include <string_view>

namespace nuvisca::cli {

// The largest number the moving-average box shows.
inline constexpr int kLargestAverage = 30;

// A whole decimal number from low to high, with nothing after it.
std::optional<int> parseInt(std::string_view text, int low, int high);

// Prints "nuvisca COMMAND: PROBLEMARGUMENT" and the command's usage to stderr; returns the
// usage-error exit status.
int usageError(std::string_view command, std::string_view usage, std::string_view problem,
               std::string_view argument);

}  // namespace nuvisca::cli
