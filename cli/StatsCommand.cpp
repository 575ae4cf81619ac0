#include <cstdio>
#include <string>
#include <variant>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ReviewOptions.h"
#include "formats/StatisticsCsv.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kStatsUsage =
    "usage: nuvisca stats FILE... [--start SLOT|TIME] [--end SLOT|TIME] [--average N]\n"
    "                     [--threshold PERCENT] [--baseline-minutes M | --baseline-range FROM-TO\n"
    "                     | --baseline PERCENT] [--drop PERCENT] [--min-duration SECONDS] [--csv]\n"
    "\n"
    "Prints the count, mean, minimum and maximum of rSO2, oxHb, dxHb and toHb over the slots\n"
    "start <= i < end of each recording, the time and area of rSO2 below the threshold, the\n"
    "baseline and the number of desaturation events; a block per file, or with --csv a header\n"
    "line and a row per file. A file that cannot be read, or whose baseline slots hold no rSO2\n"
    "value, is named on stderr and the others go on.\n"
    "\n"
    "Options:\n";

}  // namespace

int runStats(std::span<const std::string_view> args) {
    CommandLine line("stats", std::string(kStatsUsage) + std::string(kReviewOptionsHelp),
                     {"FILE..."});
    addReviewOptions(line);
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    ReviewOptions options;
    if (!readReviewOptions("stats", line, options)) {
        return kExitUsage;
    }
    int status = kExitOk;
    std::string out = options.csv ? statisticsCsvHeader() : std::string();
    for (const std::string& file : line.operands()) {
        const std::variant<FileReview, int> result = reviewFile("stats", file, options);
        const FileReview* review = std::get_if<FileReview>(&result);
        if (review == nullptr && std::get<int>(result) == kExitUsage) {
            return kExitUsage;
        }
        if (review == nullptr) {
            status = kExitFailure;
            continue;
        }
        const DesaturationFigures figures{review->baseline, review->desaturations.events.size()};
        if (options.csv) {
            appendStatisticsCsvRow(out, file, review->statistics, figures);
        } else {
            out += out.empty() ? "" : "\n";
            out += formatStatisticsText(file, review->statistics, figures);
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return finishOutput(status);
}

}  // namespace nuvisca::cli
