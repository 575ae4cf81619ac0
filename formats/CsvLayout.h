#pragma once

#include <string_view>

namespace nuvisca::csv {

// Texts of the export layout, shared by the writer and the reader.
inline constexpr std::string_view kFormatTag = "RM27";
inline constexpr std::string_view kHeadingTime = "測定時刻";
inline constexpr std::string_view kHeadingElapsed = "経過時間";
inline constexpr std::string_view kError = "ERROR";
inline constexpr std::string_view kRestart = "restart";

// Column of the restart mark on a sample line.
inline constexpr int kRestartColumn = 6;

}  // namespace nuvisca::csv
