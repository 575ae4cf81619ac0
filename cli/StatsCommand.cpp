#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RecordingInput.h"
#include "formats/StatisticsCsv.h"
#include "store/MovingAverage.h"
#include "store/RangeStatistics.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kStatsUsage =
    "usage: nuvisca stats FILE... [--start SLOT] [--end SLOT] [--average N]\n"
    "                     [--threshold PERCENT] [--csv]\n"
    "\n"
    "Prints the count, mean, minimum and maximum of rSO2, oxHb, dxHb and toHb over the slots\n"
    "start <= i < end of each recording, and the time and area of rSO2 below the threshold;\n"
    "a block per file, or with --csv a header line and a row per file. A file that cannot be\n"
    "read is named on stderr and the others go on.\n"
    "\n"
    "Options:\n"
    "  --start SLOT          first slot (default 0)\n"
    "  --end SLOT            end of the range (default the end of the recording)\n"
    "  --average N           moving-average box showing N, 1..30 (default 1: measured)\n"
    "  --threshold PERCENT   rSO2 threshold, 0..100 (default 50)\n"
    "  --csv                 CSV instead of the readable blocks\n";

struct StatsOptions {
    StatisticsRequest request;
    int average = 1;
    bool csv = false;
};

// The statistics of one file, or nothing (said on stderr) when no reader takes it.
std::optional<RangeStatistics> statisticsOf(const std::string& file, const StatsOptions& options) {
    const auto store = makeMeasurementStore();
    GraphViewState view;
    if (!loadRecording(std::filesystem::path(file), *store, view)) {
        return std::nullopt;
    }
    StatisticsRequest request = options.request;
    if (options.average > 1) {
        store->averageWindow = options.average - 1;
        computeMovingAverage(*store);
        request.series = StatisticsSeries::Averaged;
    }
    return computeRangeStatistics(*store, request);
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
    const auto slot = [](std::int64_t& value) {
        return [&value](std::string_view text) {
            const std::optional<int> number =
                parseInt(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            value = number.value_or(value);
            return number.has_value();
        };
    };
    if (!line.readValues("start", "a whole number", slot(options.request.start)) ||
        !line.readValues("end", "a whole number", slot(options.request.end)) ||
        !line.readInt("average", 1, kLargestAverage, options.average) ||
        !line.readDecimal("threshold", 0.0, 100.0, options.request.rso2Threshold)) {
        return kExitUsage;
    }

    int status = kExitOk;
    std::string out = options.csv ? std::string(kStatisticsCsvHeader) : std::string();
    for (const std::string& file : line.operands()) {
        const std::optional<RangeStatistics> stats = statisticsOf(file, options);
        if (!stats) {
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
