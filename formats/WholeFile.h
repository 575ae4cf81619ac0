#pragma once

#include <filesystem>
#include <string>

namespace nuvisca {

// Reads the whole file into bytes; false when it cannot be opened or read to its end.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace nuvisca
