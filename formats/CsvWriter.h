#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "store/MovingAverage.h"

namespace nuvisca {

// The whole export text of a recording: its averaged series, or the measured ones when
// `averaged` is null.
std::string formatCsvExport(const Recording& store, const AveragedSeries* averaged);

// Writes the export to a temporary file beside path and moves it into place only when all
// of it was written, so a failure never leaves a truncated file under the final name; `why`,
// when given, holds the system's reason for a failure.
bool saveCsvExport(const std::filesystem::path& path, const Recording& store,
                   const AveragedSeries* averaged, std::error_code* why = nullptr);

// A slot's 測定時刻 and 経過時間 as the export writes them ("hh:mm:ss").
struct ExportTimes {
    std::string clock;
    std::string elapsed;
};
ExportTimes exportTimesOf(const Recording& store, std::int32_t slot);

}  // namespace nuvisca
