#include <benchmark/benchmark.h>

#include "bench/BenchMarkers.h"
#include "bench/BenchRecording.h"
#include "formats/MarkerSidecar.h"

namespace nuvisca::bench {
namespace {

// The marker file of the full recording with the most markers it keeps and a baseline: its
// text as written when a marker is edited, and read back as when the recording is opened.
void sidecar(benchmark::State& state, bool decode) {
    static const LoadedRecording recording(1800.0f, 900.0f);
    const Recording& store = recording.store();
    const KeptAnnotations kept{benchMarkers(store),
                               measureBaseline(store, nullptr, BaselineMethod::kRange, 100, 2500)};
    const std::string text = encodeSidecar(store, kept);
    if (decodeSidecar(text, store).kept != kept) {
        fail("the marker file does not read back as written");
    }
    for (auto _ : state) {
        if (decode) {
            benchmark::DoNotOptimize(decodeSidecar(text, store));
        } else {
            benchmark::DoNotOptimize(encodeSidecar(store, kept));
        }
    }
}
BENCHMARK_CAPTURE(sidecar, encode, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sidecar, decode, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca::bench
