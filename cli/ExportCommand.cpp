#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/KeptInput.h"
#include "cli/RecordingInput.h"
#include "formats/CsvWriter.h"
#include "formats/EdfExport.h"
#include "graph/ViewModel.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kExportUsage =
    "usage: nuvisca export IN OUT.csv|OUT.edf|OUT.bdf [--average N] [--no-markers]\n"
    "\n"
    "Writes the CSV export the viewer writes for IN, a device recording or a CSV export; or\n"
    "with OUT ending in .edf or .bdf, EDF+ (16-bit) or BDF+ (24-bit) on one continuous timeline,\n"
    "with the markers the viewer keeps beside IN (NAME.events.tsv) as annotations.\n"
    "  --average N   the number the moving-average box shows, 1 to 30 (default 1: the\n"
    "                measured series); above 1 the averaged series is written\n"
    "  --no-markers  leaves the markers out of EDF+ and BDF+\n";

enum class ExportFormat { kCsv, kEdf, kBdf };

std::optional<ExportFormat> formatOfSuffix(const std::string& path) {
    const std::string suffix = lowerCaseSuffix(path);
    if (suffix == ".csv") {
        return ExportFormat::kCsv;
    }
    if (suffix == ".edf" || suffix == ".bdf") {
        return suffix == ".edf" ? ExportFormat::kEdf : ExportFormat::kBdf;
    }
    return std::nullopt;
}

}  // namespace

int runExport(std::span<const std::string_view> args) {
    CommandLine line("export", kExportUsage, {"IN", "OUT"});
    line.addOption("average");
    line.addOption("no-markers", false);
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    int average = 1;
    if (!line.readInt("average", 1, kLargestAverage, average)) {
        return kExitUsage;
    }
    const std::string in = line.operand(0);
    const std::string out = line.operand(1);
    const std::optional<ExportFormat> format = formatOfSuffix(out);
    if (!format) {
        return usageError("export", "OUT must end in .csv, .edf or .bdf, not '" + out + "'");
    }

    const std::shared_ptr<const Recording> store = loadRecording(std::filesystem::path(in));
    if (!store) {
        return kExitFailure;
    }
    // As the viewer does after choosing N in the box and answering "はい" to the question.
    ViewModel model;
    model.setRecording(store);
    model.setAverageWindow(average - 1);
    const AveragedSeries* series = model.averaged();
    if (*format != ExportFormat::kCsv) {
        const EdfFlavour flavour =
            *format == ExportFormat::kEdf ? EdfFlavour::Edf : EdfFlavour::Bdf;
        const Markers markers =
            line.isSet("no-markers")
                ? Markers{}
                : loadKeptAnnotations(std::filesystem::path(in), *store).markers;
        const EdfResult result =
            saveEdfExport(std::filesystem::path(out), *store, series, flavour, &markers);
        if (!result.ok) {
            std::fprintf(stderr, "nuvisca: %s: %s\n", in.c_str(), result.error.c_str());
            return kExitFailure;
        }
        return kExitOk;
    }
    if (std::error_code why; !saveCsvExport(std::filesystem::path(out), *store, series, &why)) {
        std::fprintf(stderr, "nuvisca: %s: cannot write the export (%s)\n", out.c_str(),
                     why.message().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
