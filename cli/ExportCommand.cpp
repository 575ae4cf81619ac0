#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "cli/CommandLine.h"
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

}  // namespace

int runExport(std::span<const std::string_view> args) {
    CommandLine line("export", kExportUsage, {"IN", "OUT.csv"});
    line.addOption("average");
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    int average = 1;
    if (!line.readInt("average", 1, kLargestAverage, average)) {
        return kExitUsage;
    }
    const std::string in = line.operand(0);
    const std::string out = line.operand(1);

    const auto store = makeMeasurementStore();
    GraphViewState view;
    if (!loadRecording(std::filesystem::path(in), *store, view)) {
        return kExitFailure;
    }
    // As the viewer does after choosing N in the box and answering "はい" to the question.
    ExportSeries series = ExportSeries::Measured;
    if (average > 1) {
        store->averageWindow = average - 1;
        computeMovingAverage(*store);
        series = ExportSeries::Averaged;
    }
    if (!saveCsvExport(std::filesystem::path(out), *store, series)) {
        std::fprintf(stderr, "nuvisca: %s: cannot write the export\n", out.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
