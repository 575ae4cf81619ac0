#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"
#include "formats/RecordingFile.h"
#include "store/RecordingDate.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kInfoUsage =
    "usage: nuvisca info FILE...\n"
    "\n"
    "Prints what the viewer reads from each recording, one 'key: value' line each:\n"
    "file, format, date_key, device_id, start, end, samples, span_samples, truncated (yes\n"
    "when the recording went on past the 10 h 40 min the viewer holds); a blank line between\n"
    "files. A file that cannot be read is named on stderr and the others go on.\n";

void printInfo(std::string_view file, const Recording& store) {
    std::printf("file: %.*s\n", static_cast<int>(file.size()), file.data());
    std::printf("format: %s\n", formatName(store.format));
    std::printf("date_key: %lld\n", static_cast<long long>(store.dateKey));
    std::printf("device_id: %s\n", store.deviceId.data());
    std::printf("start: %s\n", formatDate(recordingStart(store), DateStyle::Iso).c_str());
    std::printf("end: %s\n", formatTimeOfDay(recordingEnd(store), DateStyle::Iso).c_str());
    std::printf("samples: %d\n", store.sampleCount);
    std::printf("span_samples: %d\n", store.spanSamples);
    std::printf("truncated: %s\n", store.truncated ? "yes" : "no");
}

}  // namespace

int runInfo(std::span<const std::string_view> args) {
    CommandLine line("info", kInfoUsage, {"FILE..."});
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }

    int status = kExitOk;
    bool first = true;
    for (const std::string& file : line.operands()) {
        const std::shared_ptr<const Recording> store = loadRecording(std::filesystem::path(file));
        if (!store) {
            status = kExitFailure;
            continue;
        }
        std::fputs(first ? "" : "\n", stdout);
        first = false;
        printInfo(file, *store);
    }
    return finishOutput(status);
}

}  // namespace nuvisca::cli
