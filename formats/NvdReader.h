#pragma once

#include <cstdint>
#include <filesystem>

#include "store/MeasurementStore.h"

namespace nuvisca {

// Date key YYMMDDhhmmss of a device recording's start, or 0 when the file is not one.
std::int64_t getDateFromNVD(const std::filesystem::path& path);

// Loads a device recording into the store. Returns false, with the store untouched, when
// the file cannot be opened or is not a device recording.
bool readNVDFile(const std::filesystem::path& path, MeasurementStore& store);

}  // namespace nuvisca
