#include "bench/FigureTable.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace nuvisca::bench {
namespace {

struct Figure {
    std::string_view label;
    std::string_view benchmark;
    std::string_view baseline;  // empty: none
    double targetMs;            // 0: none
    double maxTimesBaseline = 0.0;  // 0: none; else the time may be at most this many baselines
};

// Every figure at 76800 slots unless its label says 2 h, in the order of a user's path through the
// viewer.
constexpr Figure kFigures[] = {
    {"read a device recording", "readDeviceRecording/viewer",
     "readDeviceRecording/fourReadsPerRecord", 2.0},
    {"date keys of 256 device files", "dateKeys256Files", "", 10.0},
    {"date key of one CSV export", "dateKeyCsvExport", "", 0.0},
    {"read a CSV export", "readCsvExport", "", 25.0},
    {"date key of a CSV file at the 64 MiB bound", "dateKeyCsvAtSizeBound", "", 0.0},
    {"info of a CSV file at the 64 MiB bound", "infoCsvAtSizeBound", "", 0.0},
    {"moving average, box \"30\"", "movingAverage30", "", 10.0},
    {"export measured: format + write", "exportMeasuredWrite", "exportMeasuredWriteFprintf", 0.0},
    {"export measured: saveCsvExport (fsync)", "exportMeasuredSave", "exportMeasuredSaveFprintf",
     20.0},
    {"export averaged: format + write", "exportAveragedWrite", "exportAveragedWriteFprintf", 0.0},
    {"export averaged: saveCsvExport (fsync)", "exportAveragedSave", "exportAveragedSaveFprintf",
     20.0},
    {"export EDF+: saveEdfExport (fsync), vs CSV", "exportEdf/edf", "exportMeasuredSave", 30.0},
    {"export BDF+: saveEdfExport (fsync), vs CSV", "exportEdf/bdf", "exportMeasuredSave", 0.0},
    {"export EDF+: planning alone", "exportEdf/planOnly", "", 0.0},
    {"export EDF+ with 2000 markers, vs without", "exportEdf/edfMarkers", "exportEdf/edf", 0.0},
    {"marker file, 2000 markers: write its text", "sidecar/encode", "", 0.0},
    {"marker file, 2000 markers: read its text", "sidecar/decode", "", 0.0},
    {"full draw, whole recording widened, 1800x900", "fullDraw/widened", "fullDraw/widenedPlain",
     16.0},
    {"full draw, 900-slot view, 1800x900", "fullDraw/view900", "fullDraw/view900Plain", 5.0},
    {"full draw widened under review, vs without", "fullDraw/widenedReviewed", "fullDraw/widened",
     16.0},
    {"clear a 3600x1800 image: the ratio-2 floor", "clearImage", "", 0.0},
    {"whole at ratio 2: clear + draw, <= 4x floor", "denseDraw/ratio2", "clearImage", 8.0, 4.0},
    {"whole at ratio 2: first frame at a size", "denseDraw/firstAtSize", "denseDraw/ratio2", 8.0},
    {"whole at ratio 2: add marker + redraw, vs draw", "denseAddMarker", "denseDraw/ratio2", 8.0},
    {"whole at ratio 2: wheel step + redraw", "denseWheel/ratio2", "clearImage", 8.0},
    {"whole at ratio 2: drag step + redraw", "denseDrag/ratio2", "clearImage", 8.0},
    {"whole at ratio 1: clear + draw", "denseDraw/ratio1", "", 4.0},
    {"whole at ratio 1: wheel step + redraw", "denseWheel/ratio1", "", 4.0},
    {"whole at ratio 1: drag step + redraw", "denseDrag/ratio1", "", 4.0},
    {"900-slot view at ratio 2: clear + draw", "denseDraw/view900ratio2", "", 4.0},
    {"drag step + redraw, widened", "dragStep/widened", "", 0.0},
    {"drag step + redraw, 900-slot view", "dragStep/view900", "", 0.0},
    {"print page into a PDF, widened", "printPagePdf/widened", "", 20.0},
    {"print page into a PDF, 900-slot view", "printPagePdf/view900", "", 0.0},
    {"case report PDF, 22 strips of 30 min (fsync)", "caseReport", "", 1000.0},
    {"viewer start to first paint (offscreen)", "viewerFirstPaint", "", 300.0},
    // The two-hour sample (13199 slots), all of it in a 1600x800 graph.
    {"2 h whole: full draw at ratio 2, vs ratio 1", "twoHourDraw/ratio2", "twoHourDraw/ratio1",
     16.0},
    {"2 h whole: wheel step, range only", "wheelStep/rangeOnly", "", 0.0},
    {"2 h whole: wheel step + redraw, vs redraw", "wheelStep/withRedraw", "twoHourDraw/ratio2",
     16.0},
    {"2 h whole: readout update, vs full draw", "readoutUpdate", "twoHourDraw/ratio2", 1.0},
    {"2 h: overview columns at ratio 2, vs full draw", "overviewColumns", "twoHourDraw/ratio2",
     0.0},
    {"2 h: overview repaint on a range change", "overviewRepaint", "", 2.0},
    {"2 h whole: statistics panel, vs full draw", "panelStatistics", "twoHourDraw/ratio2", 0.0},
    {"baseline, thresholds, events and statistics", "panelDesaturation", "", 2.0},
};

#ifdef NDEBUG
constexpr const char* kBuildType = "release";
#else
constexpr const char* kBuildType = "DEBUG (the targets are for the release build)";
#endif

double milliseconds(double value, benchmark::TimeUnit unit) {
    return value / benchmark::GetTimeUnitMultiplier(unit) * 1e3;
}

std::string formatMs(double ms) {
    char text[32];
    std::snprintf(text, sizeof text,
                  ms < 0.1     ? "%.2f us"
                  : ms < 10.0  ? "%.2f ms"
                  : ms < 100.0 ? "%.1f ms"
                               : "%.0f ms",
                  ms < 0.1 ? ms * 1e3 : ms);
    return text;
}

std::string row(std::string_view label, std::string_view time, std::string_view best,
                std::string_view cpu, std::string_view baseline, std::string_view ratio,
                std::string_view target, std::string_view verdict) {
    char text[256];
    std::snprintf(text, sizeof text, "%-46.*s %10.*s %10.*s %10.*s %11.*s %8.*s %9.*s  %.*s\n",
                  static_cast<int>(label.size()), label.data(), static_cast<int>(time.size()),
                  time.data(), static_cast<int>(best.size()), best.data(),
                  static_cast<int>(cpu.size()), cpu.data(), static_cast<int>(baseline.size()),
                  baseline.data(), static_cast<int>(ratio.size()), ratio.data(),
                  static_cast<int>(target.size()), target.data(), static_cast<int>(verdict.size()),
                  verdict.data());
    return text;
}

double loadAverage() {
    double load = -1.0;
    return ::getloadavg(&load, 1) == 1 ? load : -1.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

}  // namespace

bool FigureTableReporter::ReportContext(const Context& context) {
    loadAtStart_ = loadAverage();
    return ConsoleReporter::ReportContext(context);
}

void FigureTableReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> aggregates;
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate) {
            aggregates.push_back(run);
        }
        if (run.error_occurred) {
            continue;
        }
        Measured& m = measured_[run.run_name.function_name];
        const Times times{milliseconds(run.GetAdjustedRealTime(), run.time_unit), -1.0,
                          milliseconds(run.GetAdjustedCPUTime(), run.time_unit),
                          run.run_name.time_type == "manual_time"};
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m.hasMedian = true;
            m.median = times;
        } else if (run.run_type == Run::RT_Iteration) {
            m.repetitions.push_back(times);
        }
        repetitions_ = std::max(repetitions_, static_cast<int>(run.repetitions));
    }
    ConsoleReporter::ReportRuns(aggregates.empty() ? runs : aggregates);
}

bool FigureTableReporter::timesOf(std::string_view name, Times& times) const {
    const auto found = measured_.find(name);
    if (found == measured_.end()) {
        return false;
    }
    const Measured& m = found->second;
    if (m.repetitions.empty()) {
        times = m.median;
        return m.hasMedian;
    }
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Times& t : m.repetitions) {
        wall.push_back(t.wallMs);
        cpu.push_back(t.cpuMs);
    }
    times = {median(wall), *std::min_element(wall.begin(), wall.end()), median(cpu),
             m.repetitions.front().manual};
    return true;
}

int FigureTableReporter::printTable(std::ostream& out) const {
    const double loadNow = loadAverage();
    char heading[256];
    std::snprintf(heading, sizeof heading,
                  "\nFigures at 76800 slots (2 h: the two-hour sample), %s build, up to %d "
                  "repetitions each, niceness %d; "
                  "load average %.2f at the start, %.2f now\n",
                  kBuildType, std::max(repetitions_, 1), ::getpriority(PRIO_PROCESS, 0),
                  loadAtStart_, loadNow);
    out << heading
        << "time: median wall-clock time per operation, which the target applies to; best: the "
           "fastest repetition;\ncpu: median CPU time of the benchmark thread; ratio: baseline "
           "time / time\n\n"
        << row("figure", "time", "best", "cpu", "baseline", "ratio", "target", "")
        << std::string(114, '-') << '\n';
    int missed = 0;
    int missedOnlyByWaiting = 0;
    for (const Figure& figure : kFigures) {
        Times times;
        Times baseline;
        if (!timesOf(figure.benchmark, times)) {
            out << row(figure.label, "not run", "", "", "", "", "", "");
            continue;
        }
        const bool hasBaseline = !figure.baseline.empty() && timesOf(figure.baseline, baseline);
        std::string ratio;
        if (hasBaseline) {
            char text[32];
            std::snprintf(text, sizeof text, "%.1fx", baseline.wallMs / times.wallMs);
            ratio = text;
        }
        std::string verdict;
        if (figure.targetMs > 0.0) {
            const bool withinBaselines = figure.maxTimesBaseline <= 0.0 ||
                                         (hasBaseline && times.wallMs <= figure.maxTimesBaseline *
                                                                              baseline.wallMs);
            const bool holds = times.wallMs < figure.targetMs && withinBaselines;
            verdict = holds ? "ok" : "MISSED";
            missed += holds ? 0 : 1;
            const bool fastestHolds = times.bestWallMs >= 0.0 &&
                                      times.bestWallMs < figure.targetMs && withinBaselines;
            missedOnlyByWaiting += !holds && fastestHolds ? 1 : 0;
        }
        out << row(figure.label, formatMs(times.wallMs),
                   times.bestWallMs >= 0.0 ? formatMs(times.bestWallMs) : "-",
                   times.manual ? "-" : formatMs(times.cpuMs),
                   hasBaseline ? formatMs(baseline.wallMs) : "", ratio,
                   figure.targetMs > 0.0 ? "< " + formatMs(figure.targetMs) : "", verdict);
    }
    if (missed == 0) {
        out << "\nEvery target holds.\n";
    } else {
        out << "\nTargets missed: " << missed << '\n';
    }
    if (missedOnlyByWaiting > 0) {
        out << "Of those, " << missedOnlyByWaiting
            << " held in their fastest repetition: wall-clock times on a busy machine include "
               "waiting for a core; run again when the load average is low.\n";
    }
    return missed;
}

}  // namespace nuvisca::bench
