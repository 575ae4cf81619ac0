// The benchmark suite's own main: the usual report, then the table of figures. Exits with 1
// when the benchmarks cannot run, 2 when a figure misses its target.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <iostream>
#include <string_view>

#include "bench/BenchRecording.h"
#include "bench/FigureTable.h"

int main(int argc, char** argv) {
    // Writes the full-capacity device recording for runs outside the suite (heaptrack).
    constexpr std::string_view kWriteRecording = "--write-recording=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kWriteRecording)) {
        nuvisca::bench::writeFullDeviceRecording(argv[1] + kWriteRecording.size());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    nuvisca::bench::FigureTableReporter reporter(::isatty(STDOUT_FILENO) != 0
                                                     ? benchmark::ConsoleReporter::OO_ColorTabular
                                                     : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = reporter.printTable(std::cout);
    benchmark::Shutdown();
    return missed > 0 ? 2 : 0;
}
