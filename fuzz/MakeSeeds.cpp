// Writes small CSV exports of device recordings, seeds for the CSV fuzz targets: the first
// slots and those around every restart and break, as measured, averaged and with CR LF. Also
// sidecars of the recording the sidecar target reads against.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "SidecarRecording.h"
#include "formats/AtomicFile.h"
#include "formats/CsvWriter.h"
#include "formats/MarkerSidecar.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"

namespace {

using namespace nuvisca;

constexpr std::size_t kLeadingSlots = 12;
constexpr std::size_t kAround = 3;

bool isMark(const Recording& s, std::size_t i) {
    return s.sampleTime[i] != continuationTag ||
           (i > 0 && (s.measured[kOxhb][i] < 0.0f) != (s.measured[kOxhb][i - 1] < 0.0f));
}

// Keeps the slots near a restart or the edge of a break, and the first ones.
void compact(const Recording& from, Recording& into) {
    into = from;
    const auto count = static_cast<std::size_t>(from.sampleCount);
    std::size_t kept = 0;
    std::size_t lastMark = count + kAround + 1;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t next = i;
        while (next < count && next <= i + kAround && !isMark(from, next)) {
            ++next;
        }
        if (isMark(from, i)) {
            lastMark = i;
        }
        const bool nearMark =
            (next < count && next <= i + kAround) || (lastMark < count && i - lastMark <= kAround);
        if (i < kLeadingSlots || nearMark) {
            into.sampleTime[kept] = from.sampleTime[i];
            into.measured[kRso2][kept] = from.measured[kRso2][i];
            into.measured[kOxhb][kept] = from.measured[kOxhb][i];
            into.measured[kDxhb][kept] = from.measured[kDxhb][i];
            into.measured[kTohb][kept] = from.measured[kTohb][i];
            ++kept;
        }
    }
    into.sampleCount = static_cast<std::int32_t>(kept);
}

bool write(const std::filesystem::path& path, const std::string& text) {
    if (!writeFileAtomically(path, text)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// Markers at the restarts, past midnight, across the stretch without rSO2 and at the ends,
// with each kind of baseline.
bool writeSidecarSeeds(const std::filesystem::path& folder) {
    const auto recording = fuzz::sidecarRecording();
    const Markers markers = {{0, 0, "start"},      {990, 20, "across the pause"},
                             {1000, 0, "restart"}, {1500, 600, "clamp \"B\""},
                             {2000, 0, "再開"},    {2450, 200, "no rSO2"},
                             {2999, 0, "end"}};
    const std::pair<const char*, std::optional<Baseline>> baselines[] = {
        {"none", std::nullopt},
        {"first-minutes",
         measureBaseline(*recording, nullptr, BaselineMethod::kFirstMinutes, 0, 1200)},
        {"range", measureBaseline(*recording, nullptr, BaselineMethod::kRange, 1900, 2100)},
        {"typed", Baseline{55.5, BaselineMethod::kTyped, 0, 0, 0}}};
    bool ok = true;
    for (const auto& [name, baseline] : baselines) {
        const std::string text = encodeSidecar(*recording, {markers, baseline});
        ok = write(folder / (std::string(name) + ".events.tsv"), text) && ok;
        ok = write(folder / (std::string(name) + "-crlf.events.tsv"), withCrLf(text)) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s CSV-FOLDER SIDECAR-FOLDER RECORDING.NVD...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const auto loaded = makeEmptyRecording();
    const auto seed = makeEmptyRecording();
    const auto average = std::make_unique<AveragedSeries>();
    bool ok = writeSidecarSeeds(argv[2]);
    for (int k = 3; k < argc; ++k) {
        if (!readNVDFile(argv[k], *loaded)) {
            continue;
        }
        compact(*loaded, *seed);
        computeMovingAverage(*seed, 2, *average);
        const std::string stem = std::filesystem::path(argv[k]).stem().string();
        const std::string measured = formatCsvExport(*seed, nullptr);
        ok = write(folder / (stem + ".csv"), measured) && ok;
        ok = write(folder / (stem + "-crlf.csv"), withCrLf(measured)) && ok;
        ok = write(folder / (stem + "-avg.csv"), formatCsvExport(*seed, average.get())) && ok;
    }
    return ok ? 0 : 1;
}
