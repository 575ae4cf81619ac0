#pragma once

#include <span>
#include <string_view>

namespace nuvisca::cli {

// Each command takes the arguments after its name and returns the process exit status:
// 0 success, 1 unreadable or unrecognised input or a failed write, 2 a usage error.
int runInfo(std::span<const std::string_view> args);
int runRender(std::span<const std::string_view> args);
int runExport(std::span<const std::string_view> args);
int runStats(std::span<const std::string_view> args);
int runEvents(std::span<const std::string_view> args);
int runReport(std::span<const std::string_view> args);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace nuvisca::cli
