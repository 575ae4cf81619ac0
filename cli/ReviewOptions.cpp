#include "cli/ReviewOptions.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "cli/Commands.h"
#include "cli/KeptInput.h"
#include "cli/RecordingInput.h"
#include "graph/ViewModel.h"

namespace nuvisca::cli {

const std::string_view kReviewOptionsHelp =
    "  --start SLOT|TIME     first slot (default 0), or the first at or after the clock time\n"
    "                        HH:MM[:SS] as the time axis counts it (24:00 and later: the\n"
    "                        next day), found in each recording\n"
    "  --end SLOT|TIME       end of the range (default the end of the recording), a slot or\n"
    "                        a clock time as --start; not before --start\n"
    "  --average N           moving-average box showing N, 1..30 (default 1: measured); the\n"
    "                        baseline, the statistics and the events read the averaged series\n"
    "  --threshold PERCENT   absolute rSO2 threshold, 0..100 (default 50)\n"
    "  --baseline-minutes M  baseline: the mean rSO2 of the first M minutes, 1..640\n"
    "  --baseline-range FROM-TO\n"
    "                        baseline: the mean rSO2 of the slots FROM <= i < TO, each a slot\n"
    "                        or a clock time as --start\n"
    "  --baseline PERCENT    baseline typed in, 0..100\n"
    "                        without any of these three, the baseline kept in the\n"
    "                        recording's marker file, as the viewer shows it\n"
    "  --drop PERCENT        with a baseline, the threshold is the higher of --threshold and\n"
    "                        the baseline less this share of it, 0..100 (default 20)\n"
    "  --min-duration SECONDS\n"
    "                        an event lasts at least this long, 0..38400 (default 15)\n"
    "  --between L1 L2       the range from the first marker labelled L1 up to the first\n"
    "                        labelled L2 in the recording's marker file; not with --start\n"
    "                        or --end\n"
    "  --no-markers          leave the recording's marker file (NAME.events.tsv) unread\n"
    "  --csv                 CSV instead of the readable blocks\n";

namespace {

constexpr int kMostBaselineMinutes = kSampleCapacity / kSlotsPerMinute;

bool readBaselineRange(std::string_view command, const CommandLine& line, RangeBounds& bounds) {
    const SlotLimits slots{0, kSampleCapacity};
    return line.readValues(
               "baseline-range",
               "FROM-TO, each a whole number from 0 to " + std::to_string(kSampleCapacity) +
                   " or a clock time HH:MM[:SS]",
               [&](std::string_view text) {
                   const std::size_t dash = text.find('-');
                   if (dash == std::string_view::npos) {
                       return false;
                   }
                   bounds.start = parseRangeBound("--baseline-range", text.substr(0, dash), slots);
                   bounds.end = parseRangeBound("--baseline-range", text.substr(dash + 1), slots);
                   return bounds.start && bounds.end;
               }) &&
           slotsInOrder(command, bounds);
}

}  // namespace

std::variant<std::optional<Baseline>, int> baselineOf(std::string_view command,
                                                      const std::string& file,
                                                      const Recording& store,
                                                      const AveragedSeries* averaged,
                                                      const ReviewOptions& options) {
    if (options.typedBaseline) {
        return Baseline{*options.typedBaseline, BaselineMethod::kTyped, 0, 0, 0};
    }
    SlotRange slots;
    BaselineMethod method = BaselineMethod::kRange;
    if (options.baselineMinutes) {
        slots = {0, std::int64_t{kSlotsPerMinute} * *options.baselineMinutes};
        method = BaselineMethod::kFirstMinutes;
    } else if (options.baselineRange.start) {
        const std::optional<SlotRange> found =
            slotsOf(command, options.baselineRange, {}, store, file);
        if (!found || !inOrder(command, options.baselineRange, *found)) {
            return kExitUsage;
        }
        slots = *found;
    } else {
        return std::nullopt;
    }
    const std::optional<Baseline> baseline =
        measureBaseline(store, averaged, method, slots.start, slots.end);
    if (!baseline) {
        const ClampedRange clamped = clampRange(store, slots.start, slots.end);
        std::fprintf(stderr, "nuvisca: %s: no rSO2 value counts in the baseline slots %zu to %zu\n",
                     file.c_str(), clamped.start, clamped.end);
        return kExitFailure;
    }
    return baseline;
}

namespace {

// The sidecar's baseline as the viewer restores it: a measured one measured again over its
// slots in the series shown.
std::optional<Baseline> keptBaseline(const Recording& store, const AveragedSeries* averaged,
                                     const std::optional<Baseline>& kept) {
    if (!kept || kept->method == BaselineMethod::kTyped) {
        return kept;
    }
    return measureBaseline(store, averaged, kept->method, kept->start, kept->end);
}

}  // namespace

bool hasBaselineOption(const ReviewOptions& options) {
    return options.baselineMinutes || options.baselineRange.start || options.typedBaseline;
}

void addReviewOptions(CommandLine& line) {
    for (const char* name : {"start", "end", "average", "threshold", "baseline-minutes",
                             "baseline-range", "baseline", "drop", "min-duration"}) {
        line.addOption(name);
    }
    line.addOption("csv", false);
    line.addOption("no-markers", false);
}

bool readReviewOptions(std::string_view command, const CommandLine& line, ReviewOptions& options) {
    options.csv = line.isSet("csv");
    options.noMarkers = line.isSet("no-markers");
    if (options.between && (line.isSet("start") || line.isSet("end"))) {
        usageError(command, "--between excludes --start and --end");
        return false;
    }
    if (options.between && options.noMarkers) {
        usageError(command, "--between needs the markers that --no-markers leaves out");
        return false;
    }
    if (!line.readRangeBounds(std::nullopt, options.range) ||
        !slotsInOrder(command, options.range) ||
        !line.readInt("average", 1, kLargestAverage, options.average) ||
        !line.readDecimal("threshold", 0.0, 100.0, options.threshold) ||
        !line.readDecimal("drop", 0.0, 100.0, options.dropPercent) ||
        !line.readDecimal("min-duration", 0.0, kSampleCapacity * kSlotSeconds,
                          options.minimumSeconds) ||
        !line.readInt("baseline-minutes", 1, kMostBaselineMinutes, options.baselineMinutes) ||
        !readBaselineRange(command, line, options.baselineRange)) {
        return false;
    }
    double typed = 0.0;
    if (!line.readDecimal("baseline", 0.0, 100.0, typed)) {
        return false;
    }
    if (line.isSet("baseline")) {
        options.typedBaseline = typed;
    }
    const int ways = int{options.baselineMinutes.has_value()} +
                     int{options.baselineRange.start.has_value()} +
                     int{options.typedBaseline.has_value()};
    if (ways > 1) {
        usageError(command,
                   "--baseline-minutes, --baseline-range and --baseline exclude each other");
        return false;
    }
    return true;
}

void setReview(ViewModel& model, const ReviewOptions& options, std::optional<Baseline> baseline) {
    model.setAbsoluteThreshold(options.threshold);
    model.setDropPercent(options.dropPercent);
    model.setMinimumSeconds(options.minimumSeconds);
    model.setBaseline(baseline);
}

std::variant<FileReview, int> reviewFile(std::string_view command, const std::string& file,
                                         const ReviewOptions& options) {
    FileReview review;
    review.store = loadRecording(std::filesystem::path(file));
    if (!review.store) {
        return kExitFailure;
    }
    const Recording& store = *review.store;
    KeptAnnotations kept;
    if (!options.noMarkers && (options.between || !hasBaselineOption(options))) {
        kept = loadKeptAnnotations(std::filesystem::path(file), store);
    }
    const std::optional<SlotRange> range =
        options.between ? slotsBetween(command, file, kept.markers, *options.between)
                        : slotsOf(command, options.range,
                                  {0, std::numeric_limits<std::int64_t>::max()}, store, file);
    if (!range || !inOrder(command, options.range, *range)) {
        return kExitUsage;
    }
    ViewModel model;
    model.setRecording(review.store);
    model.setAverageWindow(options.average - 1);
    const AveragedSeries* averaged = model.averaged();

    auto baseline = baselineOf(command, file, store, averaged, options);
    if (const int* status = std::get_if<int>(&baseline)) {
        return *status;
    }
    review.baseline = hasBaselineOption(options) ? std::get<std::optional<Baseline>>(baseline)
                                                 : keptBaseline(store, averaged, kept.baseline);
    const double threshold =
        effectiveThreshold(options.threshold, review.baseline, options.dropPercent);
    review.statistics =
        computeRangeStatistics(store, averaged, {range->start, range->end, threshold});
    review.desaturations = findDesaturations(store, averaged, range->start, range->end, threshold,
                                             options.minimumSeconds);
    return review;
}

int runReviewCommand(std::string_view command, std::string_view usage,
                     std::span<const std::string_view> args, const ReviewOutput& output) {
    CommandLine line(command, std::string(usage) + std::string(kReviewOptionsHelp), {"FILE..."});
    addReviewOptions(line);
    ReviewOptions options;
    std::vector<std::string_view> rest(args.begin(), args.end());
    if (!takeBetween(command, rest, options.between)) {
        return kExitUsage;
    }
    if (const std::optional<int> status = line.parse(rest)) {
        return *status;
    }
    if (!readReviewOptions(command, line, options)) {
        return kExitUsage;
    }
    int status = kExitOk;
    std::string out = options.csv ? output.csvHeader : std::string();
    for (const std::string& file : line.operands()) {
        const std::variant<FileReview, int> result = reviewFile(command, file, options);
        const FileReview* review = std::get_if<FileReview>(&result);
        if (review == nullptr && std::get<int>(result) == kExitUsage) {
            return kExitUsage;
        }
        if (review == nullptr) {
            status = kExitFailure;
        } else if (options.csv) {
            output.appendCsv(out, file, *review);
        } else {
            out += out.empty() ? "" : "\n";
            out += output.text(file, *review);
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return finishOutput(status);
}

}  // namespace nuvisca::cli
