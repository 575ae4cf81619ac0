#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "store/Recording.h"

namespace nuvisca {

// 16 times the largest export: a larger file is no CSV export and is never read.
inline constexpr std::size_t kCsvSizeLimit = std::size_t{64} * 1024 * 1024;

// Why a file was not taken as a CSV export, for the message that says so.
enum class CsvRefusal { kNone, kNotAnExport, kTooLarge };

// Date key YYMMDDhhmmss of a CSV export, or 0 when the file is not one; refusal, when
// given, is set to why (kNone for a key above 0).
std::int64_t getDateFromCSV(const std::filesystem::path& path, CsvRefusal* refusal = nullptr);

// Loads a CSV export into a recording. Returns false, with the recording untouched, when the file
// is not a CSV export; refusal, when given, is set to why (kNone on success).
bool readCSVFile(const std::filesystem::path& path, Recording& store,
                 CsvRefusal* refusal = nullptr);

}  // namespace nuvisca
