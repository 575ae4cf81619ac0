#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"

namespace nuvisca::cli {

enum class RecordingFormat { kNvd, kCsv };

const char* formatName(RecordingFormat format);

struct LoadedRecording {
    RecordingFormat format;
    std::int64_t dateKey;
};

// Picks the reader whose date key accepts the file, as the file list orders it, and loads
// the file with it. On failure prints "nuvisca: FILE: reason" to stderr.
std::optional<LoadedRecording> loadRecording(const std::filesystem::path& path,
                                             MeasurementStore& store, GraphViewState& view);

// Why no reader accepted the file: it is missing, unreadable, no regular file or of no
// known kind.
std::string whyNotARecording(const std::filesystem::path& path);

}  // namespace nuvisca::cli
