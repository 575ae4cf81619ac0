#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "cli/CommandLine.h"
#include "cli/MarkerRange.h"
#include "graph/ViewModel.h"
#include "store/Baseline.h"
#include "store/Desaturation.h"
#include "store/RangeStatistics.h"

namespace nuvisca::cli {

// The help lines of the options that stats and events share.
extern const std::string_view kReviewOptionsHelp;

// The options of stats and events: the range (by slots, clock times or markers), the moving
// average, the thresholds, the baseline (at most one way of setting it; without one, the
// sidecar's), the events' minimum duration and whether the sidecar is read.
struct ReviewOptions {
    RangeBounds range;
    std::optional<MarkerLabels> between;
    int average = 1;
    double threshold = kDefaultRso2Threshold;
    double dropPercent = kDefaultDropPercent;
    double minimumSeconds = kDefaultMinimumSeconds;
    std::optional<int> baselineMinutes;
    RangeBounds baselineRange;  // both bounds or neither
    std::optional<double> typedBaseline;
    bool csv = false;
    bool noMarkers = false;
};

void addReviewOptions(CommandLine& line);
// False after a usage error (said on stderr); slot numbers are checked here, before any file
// is read. options.between is taken from the arguments before they are parsed (takeBetween).
bool readReviewOptions(std::string_view command, const CommandLine& line, ReviewOptions& options);

// The baseline the options ask for, or none when they ask for none; the exit status (said on
// stderr) when it cannot be had.
std::variant<std::optional<Baseline>, int> baselineOf(std::string_view command,
                                                      const std::string& file,
                                                      const Recording& store,
                                                      const AveragedSeries* averaged,
                                                      const ReviewOptions& options);

// Whether the options set the baseline, rather than leaving it to the recording's sidecar.
bool hasBaselineOption(const ReviewOptions& options);

// The options' thresholds and minimum duration and the baseline, set on the model.
void setReview(ViewModel& model, const ReviewOptions& options, std::optional<Baseline> baseline);

// One file's range as both commands report it.
struct FileReview {
    std::shared_ptr<const Recording> store;
    std::optional<Baseline> baseline;
    RangeStatistics statistics;  // at the effective threshold
    Desaturations desaturations;
};

// The review of one file, or the exit status (said on stderr): a failure when no reader takes
// it or no rSO2 value counts in its baseline slots, a usage error when a clock time or a marker
// label does not fit it or its range runs backwards. Its sidecar is read unless
// options.noMarkers, when --between or the baseline needs it.
std::variant<FileReview, int> reviewFile(std::string_view command, const std::string& file,
                                         const ReviewOptions& options);

// How a command writes its output: the CSV header, and one file's CSV rows or text block.
struct ReviewOutput {
    std::string csvHeader;
    std::function<void(std::string& out, const std::string& file, const FileReview& review)>
        appendCsv;
    std::function<std::string(const std::string& file, const FileReview& review)> text;
};

// Runs stats or events: reads the options, reviews each file in turn (the others go on past
// one that fails) and writes what `output` makes of them; the exit status.
int runReviewCommand(std::string_view command, std::string_view usage,
                     std::span<const std::string_view> args, const ReviewOutput& output);

}  // namespace nuvisca::cli
