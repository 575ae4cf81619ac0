#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"
#include "formats/CsvWriter.h"
#include "store/MovingAverage.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kExportUsage =
    "usage: nuvisca export IN OUT.csv [--average N]\n"
    "\n"
    "Writes the CSV export the viewer writes for IN, a device recording or a CSV export.\n"
    "  --average N   the number the moving-average box shows, 1 to 30 (default 1: the\n"
    "                measured series); above 1 the averaged series is written\n";

struct ExportArgs {
    std::string_view in;
    std::string_view out;
    int average = 1;
};

int usageError(std::string_view problem, std::string_view argument) {
    return cli::usageError("export", kExportUsage, problem, argument);
}

// Returns an exit status when the arguments end the command (help or a usage error).
std::optional<int> parseArgs(std::span<const std::string_view> args, ExportArgs& parsed) {
    int positional = 0;
    bool optionsEnded = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string_view arg = args[k];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::fputs(kExportUsage.data(), stdout);
            return kExitOk;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--average" || arg.starts_with("--average="))) {
            std::string_view value = arg.substr(std::string_view("--average").size());
            if (value.empty()) {
                if (++k == args.size()) {
                    return usageError("missing N after ", arg);
                }
                value = args[k];
            } else {
                value.remove_prefix(1);
            }
            const std::optional<int> average = parseInt(value, 1, kLargestAverage);
            if (!average) {
                return usageError("N must be a whole number from 1 to 30, not ", value);
            }
            parsed.average = *average;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return usageError("unknown option ", arg);
        } else if (positional == 0) {
            parsed.in = arg;
            ++positional;
        } else if (positional == 1) {
            parsed.out = arg;
            ++positional;
        } else {
            return usageError("unexpected argument ", arg);
        }
    }
    if (positional < 2) {
        return usageError(positional == 0 ? "missing IN and OUT.csv" : "missing OUT.csv", "");
    }
    return std::nullopt;
}

}  // namespace

int runExport(std::span<const std::string_view> args) {
    ExportArgs parsed;
    if (const std::optional<int> status = parseArgs(args, parsed)) {
        return *status;
    }

    const auto store = makeMeasurementStore();
    GraphViewState view;
    if (!loadRecording(std::filesystem::path(parsed.in), *store, view)) {
        return kExitFailure;
    }
    // As the viewer does after choosing N in the box and answering "はい" to the question.
    ExportSeries series = ExportSeries::Measured;
    if (parsed.average > 1) {
        store->averageWindow = parsed.average - 1;
        computeMovingAverage(*store);
        series = ExportSeries::Averaged;
    }
    if (!saveCsvExport(std::filesystem::path(parsed.out), *store, series)) {
        std::fprintf(stderr, "nuvisca: %.*s: cannot write the export\n",
                     static_cast<int>(parsed.out.size()), parsed.out.data());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
