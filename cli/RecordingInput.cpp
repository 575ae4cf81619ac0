#include "cli/RecordingInput.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "formats/CsvReader.h"
#include "formats/NvdReader.h"
#include "formats/RegularFile.h"

namespace nuvisca::cli {
namespace {

struct Reader {
    RecordingFormat format;
    std::int64_t (*dateKey)(const std::filesystem::path&, CsvRefusal*);
    bool (*read)(const std::filesystem::path&, MeasurementStore&, CsvRefusal*);
};

// Tried in order; the first whose date key is above 0 (as the file list takes it) reads it.
constexpr std::array kReaders{
    Reader{RecordingFormat::kNvd,
           [](const std::filesystem::path& path, CsvRefusal*) { return getDateFromNVD(path); },
           [](const std::filesystem::path& path, MeasurementStore& store, CsvRefusal*) {
               return readNVDFile(path, store);
           }},
    Reader{RecordingFormat::kCsv, getDateFromCSV, readCSVFile},
};

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

std::optional<LoadedRecording> loadRecording(const std::filesystem::path& path,
                                             MeasurementStore& store, GraphViewState& view) {
    CsvRefusal refusal = CsvRefusal::kNone;
    for (const Reader& reader : kReaders) {
        const std::int64_t key = reader.dateKey(path, &refusal);
        if (key > 0 && reader.read(path, store, &refusal)) {
            resetVisibleRange(view, store.spanSamples);
            return LoadedRecording{reader.format, key};
        }
    }
    const std::string why =
        refusal == CsvRefusal::kTooLarge ? "too large to be a CSV export" : whyNotARecording(path);
    std::fprintf(stderr, "nuvisca: %s: %s\n", path.c_str(), why.c_str());
    return std::nullopt;
}

std::string whyNotARecording(const std::filesystem::path& path) {
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

}  // namespace nuvisca::cli
