#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace nuvisca {

// Writes data to a new file beside target and renames it over target only when every byte
// reached the disk. On failure target is left as it was, no temporary file remains, and
// `why`, when given, holds the system's reason.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view data,
                         std::error_code* why = nullptr);

}  // namespace nuvisca
