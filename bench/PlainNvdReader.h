#pragma once

#include <filesystem>

#include "store/Recording.h"

namespace nuvisca::bench {

// The reader's baseline: the same device records placed the same way, but read as a plain
// reading of the format would, with four fread calls per record (the time and flag bytes,
// then each of the three values).
bool readNvdFourReadsPerRecord(const std::filesystem::path& path, Recording& store);

// Whether two loads left the same header, device id, sample count, span and slots.
bool sameLoad(const Recording& a, const Recording& b);

}  // namespace nuvisca::bench
