#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/KeptInput.h"
#include "cli/MarkerRange.h"
#include "cli/OffscreenApplication.h"
#include "cli/RecordingInput.h"
#include "cli/ReviewOptions.h"
#include "print/CaseReport.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kReportUsage =
    "usage: nuvisca report IN OUT.pdf [--minutes-per-strip N] [--average N]\n"
    "                      [--threshold PERCENT] [--baseline-minutes M | --baseline-range FROM-TO\n"
    "                      | --baseline PERCENT] [--drop PERCENT] [--min-duration SECONDS]\n"
    "                      [--no-markers]\n"
    "\n"
    "Writes the case report of the recording as an A4 landscape PDF: on the first page the\n"
    "file, the device, the times, the moving average, the baseline and the thresholds, the\n"
    "whole recording as one graph, the statistics of the whole recording and of each phase\n"
    "between its markers, and the desaturation events (continued on the next page when they\n"
    "do not fit); then the recording in strips of N minutes, three to a page. The markers,\n"
    "and the baseline unless an option sets one, come from the recording's marker file as the\n"
    "viewer keeps it. The baseline, thresholds and events are judged as by 'nuvisca stats'\n"
    "and 'nuvisca events', whose options it takes except --start, --end, --between and --csv.\n"
    "\n"
    "Options:\n"
    "  --minutes-per-strip N minutes of recording in each strip, 1..640 (default 30)\n";

constexpr int kMostMinutesPerStrip = kSampleCapacity / kSlotsPerMinute;

}  // namespace

int runReport(std::span<const std::string_view> args) {
    CommandLine line("report", std::string(kReportUsage) + std::string(kReviewOptionsHelp),
                     {"IN", "OUT.pdf"});
    addReviewOptions(line);
    line.addOption("minutes-per-strip");
    ReviewOptions options;
    std::vector<std::string_view> rest(args.begin(), args.end());
    if (!takeBetween("report", rest, options.between)) {
        return kExitUsage;
    }
    if (const std::optional<int> status = line.parse(rest)) {
        return *status;
    }
    int minutesPerStrip = kDefaultMinutesPerStrip;
    if (!readReviewOptions("report", line, options) ||
        !line.readInt("minutes-per-strip", 1, kMostMinutesPerStrip, minutesPerStrip)) {
        return kExitUsage;
    }
    if (line.isSet("start") || line.isSet("end") || options.between || options.csv) {
        return usageError("report",
                          "the report covers the whole recording: --start, --end, "
                          "--between and --csv do not apply");
    }
    const std::string input = line.operand(0);
    const std::string output = line.operand(1);
    if (lowerCaseSuffix(output) != ".pdf") {
        return usageError("report", "OUT must end in .pdf, not '" + output + "'");
    }
    const std::shared_ptr<const Recording> store = loadRecording(input);
    if (!store) {
        return kExitFailure;
    }
    ViewModel model;
    model.setAverageWindow(options.average - 1);
    model.setRecording(store);
    model.setFileName(std::filesystem::path(input).filename().string());
    if (!options.noMarkers) {
        KeptAnnotations kept = loadKeptAnnotations(std::filesystem::path(input), *store);
        model.restoreKept(std::move(kept.markers), kept.baseline);
    }
    const auto baseline = baselineOf("report", input, *store, model.averaged(), options);
    if (const int* status = std::get_if<int>(&baseline)) {
        return *status;
    }
    setReview(model, options,
              hasBaselineOption(options) ? std::get<std::optional<Baseline>>(baseline)
                                         : model.review().baseline);
    const OffscreenApplication app;
    std::error_code why;
    if (!saveCaseReport(std::filesystem::path(output), model, minutesPerStrip, why)) {
        std::fprintf(stderr, "nuvisca report: cannot write %s (%s)\n", output.c_str(),
                     why.message().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
