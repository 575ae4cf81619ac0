#pragma once

#include <cstdint>
#include <filesystem>

#include "store/Recording.h"

namespace nuvisca {

// The reader takes at most the header and one record per slot (about 1.2 MB), so a larger
// file holds nothing more to see; this bound leaves room for whatever a device may append.
inline constexpr std::uintmax_t kNvdCopyLimit = std::uintmax_t{16} * 1024 * 1024;

// Date key YYMMDDhhmmss of a device recording's start, or 0 when the file is not one.
std::int64_t getDateFromNVD(const std::filesystem::path& path);

// Loads a device recording into a recording. Returns false, with it untouched, when
// the file cannot be opened or is not a device recording.
bool readNVDFile(const std::filesystem::path& path, Recording& store);

}  // namespace nuvisca
