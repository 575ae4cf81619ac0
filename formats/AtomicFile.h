#pragma once

#include <filesystem>
#include <string_view>

namespace nuvisca {

// Writes data to a new file beside target and renames it over target only when every byte
// reached the disk. On failure target is left as it was and no temporary file remains.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view data);

}  // namespace nuvisca
