#include "formats/RecordingFile.h"

#include <cerrno>
#include <system_error>

#include "formats/NvdReader.h"
#include "formats/RegularFile.h"

namespace nuvisca {
namespace {

// Why no reader took the file: it is missing, unreadable, no regular file or of no known kind.
std::string whyNotARecording(const std::filesystem::path& path, CsvRefusal refusal) {
    if (refusal == CsvRefusal::kTooLarge) {
        return "too large to be a CSV export";
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        return "cannot open (" + error.message() + ")";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    if (!openRegularFile(path, "rb")) {
        return "cannot open (" + std::generic_category().message(errno) + ")";
    }
    return "not a device recording or CSV export";
}

}  // namespace

const char* formatName(RecordingFormat format) {
    switch (format) {
        case RecordingFormat::kNvd:
            return "NVD";
        case RecordingFormat::kCsv:
            return "CSV";
    }
    return "?";
}

std::int64_t recordingDateKey(const std::filesystem::path& path, CsvRefusal* refusal) {
    if (refusal != nullptr) {
        *refusal = CsvRefusal::kNone;
    }
    const std::int64_t key = getDateFromNVD(path);
    return key > 0 ? key : getDateFromCSV(path, refusal);
}

OpenedRecording openRecording(const std::filesystem::path& path) {
    OpenedRecording opened;
    auto recording = std::make_shared<Recording>();
    if (const std::int64_t key = getDateFromNVD(path); key > 0 && readNVDFile(path, *recording)) {
        recording->format = RecordingFormat::kNvd;
        recording->dateKey = key;
    } else if (const std::int64_t csvKey = getDateFromCSV(path, &opened.csvRefusal);
               csvKey > 0 && readCSVFile(path, *recording, &opened.csvRefusal)) {
        recording->format = RecordingFormat::kCsv;
        recording->dateKey = csvKey;
    } else {
        opened.reason = whyNotARecording(path, opened.csvRefusal);
        return opened;
    }
    recording->source = path;
    opened.recording = std::move(recording);
    return opened;
}

}  // namespace nuvisca
