#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "formats/CsvReader.h"
#include "store/Recording.h"

namespace nuvisca {

const char* formatName(RecordingFormat format);

// The date key of a device recording or a CSV export, judged by the file's content (a device
// recording's header first, then a CSV export's first line), whatever its name says; 0 when
// it is neither. refusal, when given, says why a CSV export was not taken.
std::int64_t recordingDateKey(const std::filesystem::path& path, CsvRefusal* refusal = nullptr);

struct OpenedRecording {
    std::shared_ptr<const Recording> recording;  // null when the file was refused
    CsvRefusal csvRefusal = CsvRefusal::kNone;   // kTooLarge: refused as too large an export
    std::string reason;                          // why it was refused, one English line
};

// Reads the file with the reader its content calls for, by the rule of recordingDateKey.
OpenedRecording openRecording(const std::filesystem::path& path);

}  // namespace nuvisca
