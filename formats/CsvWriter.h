#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "store/MeasurementStore.h"

namespace nuvisca {

enum class ExportSeries { Measured, Averaged };

// The whole export text of the loaded recording.
std::string formatCsvExport(const MeasurementStore& store, ExportSeries series);

// Writes the export to a temporary file beside path and moves it into place only when all
// of it was written, so a failure never leaves a truncated file under the final name; `why`,
// when given, holds the system's reason for a failure.
bool saveCsvExport(const std::filesystem::path& path, const MeasurementStore& store,
                   ExportSeries series, std::error_code* why = nullptr);

}  // namespace nuvisca
