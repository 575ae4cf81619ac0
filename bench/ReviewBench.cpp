#include <benchmark/benchmark.h>

#include <optional>

#include "bench/BenchRecording.h"
#include "formats/StatisticsCsv.h"
#include "store/Baseline.h"
#include "store/Desaturation.h"

namespace nuvisca::bench {
namespace {

// What the statistics panel shows of the whole recording with a baseline of the first five
// minutes: the baseline, the effective threshold, the statistics and events at it, and the
// panel's texts.
void panelDesaturation(benchmark::State& state) {
    static const LoadedRecording recording(1800.0f, 900.0f);
    const Recording& store = recording.store();
    std::size_t events = 0;
    for (auto _ : state) {
        const std::optional<Baseline> baseline = firstMinutesBaseline(store, nullptr, 5);
        const double threshold = effectiveThreshold(kDefaultRso2Threshold, baseline, 10.0);
        const RangeStatistics stats =
            computeRangeStatistics(store, nullptr, {0, kSampleCapacity, threshold});
        const Desaturations found =
            findDesaturations(store, nullptr, 0, kSampleCapacity, threshold, 15.0);
        for (const Channel channel : {kRso2, kOxhb, kDxhb, kTohb}) {
            benchmark::DoNotOptimize(channelStatisticTexts(channel, stats.channels[channel]));
        }
        benchmark::DoNotOptimize(belowThresholdTexts(stats));
        benchmark::DoNotOptimize(baselineText(*baseline));
        events = found.events.size();
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(panelDesaturation)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nuvisca::bench
