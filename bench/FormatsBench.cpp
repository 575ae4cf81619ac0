#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchRecording.h"
#include "bench/PlainCsvExport.h"
#include "bench/PlainNvdReader.h"
#include "formats/CsvReader.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"
#include "support/NvdBuilder.h"

namespace nuvisca::bench {
namespace {

// As the viewer loads it, with the box at "30" and averaged once.
LoadedRecording& averagedRecording() {
    static const std::unique_ptr<LoadedRecording> recording = [] {
        auto loaded = std::make_unique<LoadedRecording>(1800.0f, 900.0f);
        loaded->model.setAverageWindow(29);
        return loaded;
    }();
    return *recording;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using DeviceReader = bool (*)(const std::filesystem::path&, Recording&);

void readDeviceRecording(benchmark::State& state, DeviceReader reader) {
    const auto& path = fullDeviceRecording();
    const auto store = makeEmptyRecording();
    if (!reader(path, *store) || !sameLoad(*store, averagedRecording().store())) {
        fail("a device reader does not load what the viewer's reader loads");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader(path, *store));
    }
}
BENCHMARK_CAPTURE(readDeviceRecording, viewer, readNVDFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readDeviceRecording, fourReadsPerRecord, readNvdFourReadsPerRecord)
    ->Unit(benchmark::kMillisecond);

// What filling the list from removable media reads: the header of each of 256 recordings,
// each with its own start, of three minutes each (the key is in the first 32 bytes).
void dateKeys256Files(benchmark::State& state) {
    const auto folder = scratchFolder() / "media";
    std::filesystem::create_directories(folder);
    std::vector<std::filesystem::path> files;
    for (int k = 0; k < 256; ++k) {
        const int hour = 8 + k % 10;
        const int minute = k % 57;
        test::NvdBuilder builder;
        builder.start(2024, 1 + k / 28, 1 + k % 28, hour, minute, 0)
            .end(hour, minute + 3, 0)
            .timeStamp(hour, minute, 0, 0.7f, 0.4f, 0.2f);
        for (int r = 1; r < 360; ++r) {
            builder.continuation(0.7f, 0.4f, 0.2f);
        }
        char name[16];
        std::snprintf(name, sizeof name, "R%03d.NVD", k);
        files.push_back(folder / name);
        builder.writeTo(files.back());
    }
    for (const auto& file : files) {
        if (getDateFromNVD(file) < 240101000000) {
            fail("a listed recording has no date key");
        }
    }
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const auto& file : files) {
            sum += getDateFromNVD(file);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(dateKeys256Files)->Unit(benchmark::kMillisecond);

const std::filesystem::path& fullCsvExport() {
    static const std::filesystem::path path = [] {
        auto file = scratchFolder() / "full.csv";
        if (!saveCsvExport(file, averagedRecording().store(), nullptr)) {
            fail("cannot write the full export");
        }
        return file;
    }();
    return path;
}

void readCsvExport(benchmark::State& state) {
    const auto& path = fullCsvExport();
    const auto store = makeEmptyRecording();
    if (!readCSVFile(path, *store) || store->sampleCount != kSampleCapacity) {
        fail("the full export does not read back as 76800 slots");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readCSVFile(path, *store));
    }
}
BENCHMARK(readCsvExport)->Unit(benchmark::kMillisecond);

// The date key of a CSV export for the list: no target, it shows what one such file costs.
void dateKeyCsvExport(benchmark::State& state) {
    const auto& path = fullCsvExport();
    if (getDateFromCSV(path) != 240514080000) {
        fail("the full export has not the recording's date key");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(getDateFromCSV(path));
    }
}
BENCHMARK(dateKeyCsvExport)->Unit(benchmark::kMillisecond);

// The full export padded with blank lines to the largest file still read as one.
const std::filesystem::path& csvAtSizeBound() {
    static const std::filesystem::path path = [] {
        auto file = scratchFolder() / "bound.csv";
        std::filesystem::copy_file(fullCsvExport(), file,
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream out(file, std::ios::binary | std::ios::app);
        out << std::string(kCsvSizeLimit - std::filesystem::file_size(fullCsvExport()), '\n');
        if (!out.flush() || std::filesystem::file_size(file) != kCsvSizeLimit) {
            fail("cannot write the export at the size bound");
        }
        return file;
    }();
    return path;
}

void dateKeyCsvAtSizeBound(benchmark::State& state) {
    const auto& path = csvAtSizeBound();
    if (getDateFromCSV(path) != 240514080000) {
        fail("the export at the size bound has not the recording's date key");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(getDateFromCSV(path));
    }
}
BENCHMARK(dateKeyCsvAtSizeBound)->Unit(benchmark::kMillisecond);

// What `nuvisca info` reads: the device date key, the CSV date key and the CSV load.
void infoCsvAtSizeBound(benchmark::State& state) {
    const auto& path = csvAtSizeBound();
    const auto store = makeEmptyRecording();
    for (auto _ : state) {
        const bool loaded =
            getDateFromNVD(path) == 0 && getDateFromCSV(path) > 0 && readCSVFile(path, *store);
        if (!loaded || store->sampleCount != kSampleCapacity) {
            fail("the export at the size bound does not read back as 76800 slots");
        }
    }
}
BENCHMARK(infoCsvAtSizeBound)->Unit(benchmark::kMillisecond);

void movingAverage30(benchmark::State& state) {
    const Recording& store = averagedRecording().store();
    const auto average = std::make_unique<AveragedSeries>();
    for (auto _ : state) {
        computeMovingAverage(store, 29, *average);
        benchmark::DoNotOptimize(average->values[kTohb].data());
    }
}
BENCHMARK(movingAverage30)->Unit(benchmark::kMillisecond);

// The export written four ways: the viewer's formatting with a plain write, the viewer's
// saveCsvExport (temporary file, fsync, rename: what the user waits for), and the fprintf
// baseline without and with fsync. Every setup checks that the baseline's bytes are the
// viewer's.
enum class ExportWay { FormatAndWrite, Save, Fprintf, FprintfSync };

bool writeExport(ExportWay way, const std::filesystem::path& path, const Recording& store,
                 const AveragedSeries* series) {
    switch (way) {
        case ExportWay::FormatAndWrite: {
            const std::string text = formatCsvExport(store, series);
            std::FILE* file = std::fopen(path.c_str(), "wb");
            const bool written =
                file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
            return file != nullptr && std::fclose(file) == 0 && written;
        }
        case ExportWay::Save:
            return saveCsvExport(path, store, series);
        case ExportWay::Fprintf:
        case ExportWay::FprintfSync:
            return writeCsvExportFprintf(path, store, series, way == ExportWay::FprintfSync);
    }
    return false;
}

void writeCsvExport(benchmark::State& state, bool averaged, ExportWay way) {
    const Recording& store = averagedRecording().store();
    const AveragedSeries* series = averaged ? averagedRecording().model.averaged() : nullptr;
    const auto path = scratchFolder() / "export.csv";
    if (!writeExport(way, path, store, series) ||
        fileBytes(path) != formatCsvExport(store, series)) {
        fail("an export does not write the viewer's bytes");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeExport(way, path, store, series));
    }
}

const bool kExportsRegistered = [] {
    struct Variant {
        const char* name;
        bool averaged;
        ExportWay way;
    };
    constexpr Variant kVariants[] = {
        {"exportMeasuredWrite", false, ExportWay::FormatAndWrite},
        {"exportMeasuredWriteFprintf", false, ExportWay::Fprintf},
        {"exportMeasuredSave", false, ExportWay::Save},
        {"exportMeasuredSaveFprintf", false, ExportWay::FprintfSync},
        {"exportAveragedWrite", true, ExportWay::FormatAndWrite},
        {"exportAveragedWriteFprintf", true, ExportWay::Fprintf},
        {"exportAveragedSave", true, ExportWay::Save},
        {"exportAveragedSaveFprintf", true, ExportWay::FprintfSync},
    };
    for (const Variant& v : kVariants) {
        benchmark::RegisterBenchmark(v.name, writeCsvExport, v.averaged, v.way)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
}  // namespace nuvisca::bench
