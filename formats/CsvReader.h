#pragma once

#include <cstdint>
#include <filesystem>

#include "store/MeasurementStore.h"

namespace nuvisca {

// Date key YYMMDDhhmmss of a CSV export, or 0 when the file is not one.
std::int64_t getDateFromCSV(const std::filesystem::path& path);

// Loads a CSV export into the store. Returns false, with the store untouched, when the file
// is not a CSV export.
bool readCSVFile(const std::filesystem::path& path, MeasurementStore& store);

}  // namespace nuvisca
