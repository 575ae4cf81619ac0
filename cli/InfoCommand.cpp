#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/Arguments.h"
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

int usageError(std::string_view problem, std::string_view argument) {
    return cli::usageError("info", kInfoUsage, problem, argument);
}

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
    std::optional<std::string_view> file;
    bool optionsEnded = false;
    for (const std::string_view arg : args) {
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::fputs(kInfoUsage.data(), stdout);
            return kExitOk;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return usageError("unknown option ", arg);
        } else if (file) {
            return usageError("unexpected argument ", arg);
        } else {
            file = arg;
        }
    }
    if (!file) {
        return usageError("missing FILE", "");
    }

    const auto store = makeMeasurementStore();
    GraphViewState view;
    const std::optional<LoadedRecording> recording =
        loadRecording(std::filesystem::path(*file), *store, view);
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
