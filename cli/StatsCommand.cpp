#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"
#include "formats/StatisticsCsv.h"
#include "graph/ViewModel.h"
#include "store/RangeStatistics.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kStatsUsage =
    "usage: nuvisca stats FILE... [--start SLOT|TIME] [--end SLOT|TIME] [--average N]\n"
    "                     [--threshold PERCENT] [--csv]\n"
    "\n"
    "Prints the count, mean, minimum and maximum of rSO2, oxHb, dxHb and toHb over the slots\n"
    "start <= i < end of each recording, and the time and area of rSO2 below the threshold;\n"
    "a block per file, or with --csv a header line and a row per file. A file that cannot be\n"
    "read is named on stderr and the others go on.\n"
    "\n"
    "Options:\n"
    "  --start SLOT|TIME     first slot (default 0), or the first at or after the clock time\n"
    "                        HH:MM[:SS] as the time axis counts it (24:00 and later: the\n"
    "                        next day), found in each recording\n"
    "  --end SLOT|TIME       end of the range (default the end of the recording), a slot or\n"
    "                        a clock time as --start; not before --start\n"
    "  --average N           moving-average box showing N, 1..30 (default 1: measured)\n"
    "  --threshold PERCENT   rSO2 threshold, 0..100 (default 50)\n"
    "  --csv                 CSV instead of the readable blocks\n";

struct StatsOptions {
    RangeBounds range;
    StatisticsRequest request;  // its range set for each recording
    int average = 1;
    bool csv = false;
};

// Whether the range runs forwards; else a usage error (said on stderr).
bool inOrder(const RangeBounds& bounds, SlotRange range) {
    if (range.end >= range.start) {
        return true;
    }
    usageError("stats", "--end " + bounds.end->text + " comes before " +
                            (bounds.start ? "--start " + bounds.start->text : "slot 0"));
    return false;
}

// The statistics of one file, or the exit status (said on stderr) when no reader takes it or
// the range's clock times do not fit it.
std::variant<RangeStatistics, int> statisticsOf(const std::string& file,
                                                const StatsOptions& options) {
    const std::shared_ptr<const Recording> store = loadRecording(std::filesystem::path(file));
    if (!store) {
        return kExitFailure;
    }
    StatisticsRequest request = options.request;
    const std::optional<SlotRange> range =
        slotsOf("stats", options.range, {request.start, request.end}, *store, file);
    if (!range || !inOrder(options.range, *range)) {
        return kExitUsage;
    }
    request.start = range->start;
    request.end = range->end;
    ViewModel model;
    model.setRecording(store);
    model.setAverageWindow(options.average - 1);
    return computeRangeStatistics(*store, model.averaged(), request);
}

}  // namespace

int runStats(std::span<const std::string_view> args) {
    CommandLine line("stats", kStatsUsage, {"FILE..."});
    for (const char* name : {"start", "end", "average", "threshold"}) {
        line.addOption(name);
    }
    line.addOption("csv", false);
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    StatsOptions options;
    options.csv = line.isSet("csv");
    if (!line.readRangeBounds(std::nullopt, options.range) ||
        !line.readInt("average", 1, kLargestAverage, options.average) ||
        !line.readDecimal("threshold", 0.0, 100.0, options.request.rso2Threshold)) {
        return kExitUsage;
    }
    // Slot numbers are checked before any file is read.
    const RangeBounds& bounds = options.range;
    if (bounds.end && bounds.end->slot && (!bounds.start || bounds.start->slot) &&
        !inOrder(bounds, {bounds.start ? *bounds.start->slot : 0, *bounds.end->slot})) {
        return kExitUsage;
    }

    int status = kExitOk;
    std::string out = options.csv ? statisticsCsvHeader() : std::string();
    for (const std::string& file : line.operands()) {
        const std::variant<RangeStatistics, int> result = statisticsOf(file, options);
        const RangeStatistics* stats = std::get_if<RangeStatistics>(&result);
        if (stats == nullptr && std::get<int>(result) == kExitUsage) {
            return kExitUsage;
        }
        if (stats == nullptr) {
            status = kExitFailure;
        } else if (options.csv) {
            appendStatisticsCsvRow(out, file, *stats);
        } else {
            out += out.empty() ? "" : "\n";
            out += formatStatisticsText(file, *stats);
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return finishOutput(status);
}

}  // namespace nuvisca::cli
