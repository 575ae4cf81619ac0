#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ReviewOptions.h"
#include "formats/EventsCsv.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kEventsUsage =
    "usage: nuvisca events FILE... [--start SLOT|TIME] [--end SLOT|TIME | --between L1 L2]\n"
    "                      [--average N] [--threshold PERCENT] [--baseline-minutes M\n"
    "                      | --baseline-range FROM-TO | --baseline PERCENT] [--drop PERCENT]\n"
    "                      [--min-duration SECONDS] [--no-markers] [--csv]\n"
    "\n"
    "Lists the desaturation events in the slots start <= i < end of each recording: the runs of\n"
    "rSO2 below the threshold that last at least the minimum duration, ended by a slot without\n"
    "a value and by a restart; with the start, the duration, the lowest value and the area below\n"
    "the threshold of each, and their sums. A table per file, or with --csv a header line and a\n"
    "row per event. A file that cannot be read, or whose baseline slots hold no rSO2 value, is\n"
    "named on stderr and the others go on. The markers and baseline the viewer keeps beside a\n"
    "recording (NAME.events.tsv) are read for --between and for the baseline.\n"
    "\n"
    "Options:\n";

}  // namespace

int runEvents(std::span<const std::string_view> args) {
    return runReviewCommand(
        "events", kEventsUsage, args,
        {eventsCsvHeader(),
         [](std::string& out, const std::string& file, const FileReview& review) {
             appendEventsCsvRows(out, file, *review.store, review.desaturations);
         },
         [](const std::string& file, const FileReview& review) {
             return formatEventsText(file, *review.store, review.baseline, review.desaturations);
         }});
}

}  // namespace nuvisca::cli
