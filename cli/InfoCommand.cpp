#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"

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
    std::printf("start: %04d-%02d-%02d %02d:%02d:%02d\n", 2000 + store.startYear, store.startMonth,
                store.startDay, store.startHour, store.startMinute, store.startSecond);
    std::printf("end: %02d:%02d:%02d\n", store.endHour, store.endMinute, store.endSecond);
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
