#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ReviewOptions.h"
#include "formats/StatisticsCsv.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kStatsUsage =
    "usage: nuvisca stats FILE... [--start SLOT|TIME] [--end SLOT|TIME | --between L1 L2]\n"
    "                     [--average N] [--threshold PERCENT] [--baseline-minutes M\n"
    "                     | --baseline-range FROM-TO | --baseline PERCENT] [--drop PERCENT]\n"
    "                     [--min-duration SECONDS] [--no-markers] [--csv]\n"
    "\n"
    "Prints the count, mean, minimum and maximum of rSO2, oxHb, dxHb and toHb over the slots\n"
    "start <= i < end of each recording, the time and area of rSO2 below the threshold, the\n"
    "baseline and the number of desaturation events; a block per file, or with --csv a header\n"
    "line and a row per file. A file that cannot be read, or whose baseline slots hold no rSO2\n"
    "value, is named on stderr and the others go on. The markers and baseline the viewer keeps\n"
    "beside a recording (NAME.events.tsv) are read for --between and for the baseline.\n"
    "\n"
    "Options:\n";

}  // namespace

int runStats(std::span<const std::string_view> args) {
    const auto figures = [](const FileReview& review) {
        return DesaturationFigures{review.baseline, review.desaturations.events.size()};
    };
    return runReviewCommand(
        "stats", kStatsUsage, args,
        {statisticsCsvHeader(),
         [&](std::string& out, const std::string& file, const FileReview& review) {
             appendStatisticsCsvRow(out, file, review.statistics, figures(review));
         },
         [&](const std::string& file, const FileReview& review) {
             return formatStatisticsText(file, review.statistics, figures(review));
         }});
}

}  // namespace nuvisca::cli
