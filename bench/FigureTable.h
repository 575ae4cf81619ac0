#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace nuvisca::bench {

// Shows the usual console report and keeps each benchmark's times, to print them at the end
// as one table of figures beside their baselines and targets.
class FigureTableReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    bool ReportContext(const Context& context) override;
    // Shows only the aggregates of repeated benchmarks; keeps every run for the table.
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints the table and returns how many targets the figures missed.
    int printTable(std::ostream& out) const;

private:
    struct Times {
        double wallMs = 0.0;       // median over the repetitions
        double bestWallMs = -1.0;  // fastest repetition; negative when unknown
        double cpuMs = 0.0;
        bool manual = false;  // timed by the benchmark itself; its CPU time says nothing
    };
    struct Measured {
        std::vector<Times> repetitions;
        bool hasMedian = false;
        Times median;  // Google Benchmark's own, when only aggregates are shown
    };

    // The figures of one benchmark, or nothing when it did not run.
    bool timesOf(std::string_view name, Times& times) const;

    std::map<std::string, Measured, std::less<>> measured_;
    int repetitions_ = 0;
    double loadAtStart_ = -1.0;
};

}  // namespace nuvisca::bench
