#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"
#include "store/RecordingDate.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kInfoUsage =
    "usage: nuvisca info FILE\n"
    "\n"
    "Prints what the viewer reads from a recording, one 'key: value' line each:\n"
    "format, date_key, device_id, start, end, samples, span_samples.\n";

void printInfo(const LoadedRecording& recording, const MeasurementStore& store) {
    std::printf("format: %s\n", formatName(recording.format));
    std::printf("date_key: %lld\n", static_cast<long long>(recording.dateKey));
    std::printf("device_id: %s\n", store.deviceId.data());
    std::printf("start: %s\n", formatDate(recordingStart(store), DateStyle::Iso).c_str());
    std::printf("end: %s\n", formatTimeOfDay(recordingEnd(store), DateStyle::Iso).c_str());
    std::printf("samples: %d\n", store.sampleCount);
    std::printf("span_samples: %d\n", store.spanSamples);
}

}  // namespace

int runInfo(std::span<const std::string_view> args) {
    CommandLine line("info", kInfoUsage, {"FILE"});
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }

    const auto store = makeMeasurementStore();
    GraphViewState view;
    const std::optional<LoadedRecording> recording =
        loadRecording(std::filesystem::path(line.operand(0)), *store, view);
    if (!recording) {
        return kExitFailure;
    }
    printInfo(*recording, *store);
    if (std::fflush(stdout) != 0) {
        std::fputs("nuvisca: cannot write the output\n", stderr);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
