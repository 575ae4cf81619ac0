#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "formats/CsvReader.h"
#include "formats/CsvWriter.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

// A full store: 76800 half-second samples of plausible values, without breaks, so every
// window of the moving average is as wide as the setting allows.
std::unique_ptr<MeasurementStore> fullRecording() {
    auto store = makeMeasurementStore();
    resetMeasurementStore(*store, 0.0f, 0.0f);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.01f);
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        store->sampleTime[i] = i == 0 ? 30600 : continuationTag;
        store->rso2Data[i] = 65.0f + 100.0f * noise(random);
        store->oxhbData[i] = 0.4f + noise(random);
        store->dxhbData[i] = 0.2f + noise(random);
        store->tohbData[i] = store->oxhbData[i] + store->dxhbData[i];
    }
    store->startHour = 8;
    store->startMinute = 30;
    store->endHour = 19;
    store->endMinute = 10;
    store->sampleCount = kSampleCapacity;
    store->spanSamples = computeSpanSamples(*store);
    return store;
}

std::filesystem::path benchFile(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

void movingAverageBox30(benchmark::State& state) {
    const auto store = fullRecording();
    store->averageWindow = 29;
    for (auto _ : state) {
        Create_Av_data(*store);
        benchmark::DoNotOptimize(store->tohbAvg.data());
    }
}
BENCHMARK(movingAverageBox30)->Unit(benchmark::kMillisecond);

void formatExport(benchmark::State& state) {
    const auto store = fullRecording();
    for (auto _ : state) {
        std::string text = formatCsvExport(*store, ExportSeries::Measured);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(formatExport)->Unit(benchmark::kMillisecond);

// Formatting, temporary file, fsync and rename: the whole of an export.
void saveExport(benchmark::State& state) {
    const auto store = fullRecording();
    const auto path = benchFile("nuvisca-bench-save.csv");
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveNVDFile(path, *store, ExportSeries::Measured));
    }
    std::filesystem::remove(path);
}
BENCHMARK(saveExport)->Unit(benchmark::kMillisecond);

void readExport(benchmark::State& state) {
    const auto path = benchFile("nuvisca-bench-read.csv");
    saveNVDFile(path, *fullRecording(), ExportSeries::Measured);
    const auto store = makeMeasurementStore();
    GraphViewState view;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readCSVFile(path, *store, view));
    }
    std::filesystem::remove(path);
}
BENCHMARK(readExport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca
