#include <benchmark/benchmark.h>

#include "bench/BenchMarkers.h"
#include "bench/BenchRecording.h"
#include "formats/EdfExport.h"

namespace nuvisca::bench {
namespace {

// The full recording as the viewer loads it, exported as measured: the EDF+ and BDF+ files
// as the user waits for them (temporary file, fsync, rename), with the most markers it keeps,
// and the timeline, ranges and digital values alone.
enum class EdfWay { SaveEdf, SaveBdf, SaveEdfMarkers, PlanOnly };

void exportEdf(benchmark::State& state, EdfWay way) {
    static const LoadedRecording recording(1800.0f, 900.0f);
    const Recording& store = recording.store();
    const EdfFlavour flavour = way == EdfWay::SaveBdf ? EdfFlavour::Bdf : EdfFlavour::Edf;
    const auto path = scratchFolder() / (way == EdfWay::SaveBdf ? "export.bdf" : "export.edf");
    static const Markers markers = benchMarkers(store);
    const auto run = [&] {
        if (way == EdfWay::PlanOnly) {
            EdfPlan plan;
            return planEdfExport(store, nullptr, flavour, nullptr, plan).ok &&
                   plan.recordCount == kSampleCapacity / 2 + 1200;  // the restart is 20 min late
        }
        return saveEdfExport(path, store, nullptr, flavour,
                             way == EdfWay::SaveEdfMarkers ? &markers : nullptr)
            .ok;
    };
    if (!run()) {
        fail("the full recording does not export as EDF");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(run());
    }
}
BENCHMARK_CAPTURE(exportEdf, edf, EdfWay::SaveEdf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportEdf, bdf, EdfWay::SaveBdf)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportEdf, edfMarkers, EdfWay::SaveEdfMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportEdf, planOnly, EdfWay::PlanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca::bench
