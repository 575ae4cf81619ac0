#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>

#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The path as the file system spells it (names need not be valid UTF-8).
std::filesystem::path toFileSystemPath(const QString& path);

// "nvd" or "NVD", compared exactly.
bool hasDeviceRecordingExtension(const QString& path);
// "csv" or "CSV", compared exactly.
bool hasCsvExtension(const QString& path);

// The date key of a file by its extension (device recording or CSV export), 0 otherwise.
std::int64_t dateKeyByExtension(const QString& path);

bool loadDeviceRecording(const QString& path, MeasurementStore& store, GraphViewState& view);
// A device recording for "nvd"/"NVD", a CSV export for any other extension.
bool loadRecordingByExtension(const QString& path, MeasurementStore& store, GraphViewState& view);

}  // namespace nuvisca
