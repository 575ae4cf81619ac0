#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
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
    "\n"
    "Writes the case report of the recording as an A4 landscape PDF: on the first page the\n"
    "file, the device, the times, the moving average, the baseline and the thresholds, the\n"
    "whole recording as one graph, the statistics of the whole recording and of each phase\n"
    "between its markers, and the desaturation events (continued on the next page when they\n"
    "do not fit); then the recording in strips of N minutes, three to a page. The baseline,\n"
    "thresholds and events are judged as by 'nuvisca stats' and 'nuvisca events', whose\n"
    "options it takes except --start, --end and --csv.\n"
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
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    ReviewOptions options;
    int minutesPerStrip = kDefaultMinutesPerStrip;
    if (!readReviewOptions("report", line, options) ||
        !line.readInt("minutes-per-strip", 1, kMostMinutesPerStrip, minutesPerStrip)) {
        return kExitUsage;
    }
    if (line.isSet("start") || line.isSet("end") || options.csv) {
        return usageError("report",
                          "the report covers the whole recording: --start, --end and "
                          "--csv do not apply");
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
    const auto baseline = baselineOf("report", input, *store, model.averaged(), options);
    if (const int* status = std::get_if<int>(&baseline)) {
        return *status;
    }
    setReview(model, options, std::get<std::optional<Baseline>>(baseline));
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
