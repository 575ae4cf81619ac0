#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace nuvisca {

enum class WholeFileRead { kRead, kUnreadable, kTooLarge };

// Reads the whole file into bytes. A file larger than limit bytes (below SIZE_MAX), whether
// by its size when opened or by what the reads find, is refused as too large: no more than
// limit + 1 bytes are ever read or held.
WholeFileRead readWholeFile(const std::filesystem::path& path, std::string& bytes,
                            std::size_t limit);

}  // namespace nuvisca
