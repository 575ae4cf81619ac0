// Whatever a fuzzed file loads as (device recording or CSV export) is exported and read
// back; what the CSV layout can hold must come back as it was.
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "formats/CsvReader.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "formats/WholeFile.h"

namespace nuvisca::fuzz {
namespace {

constexpr std::uint64_t kSecondsPerDay = 86400;

// Two-digit fields hold -9 to 99; the year is written as 2000 + year and read modulo 100.
bool headerFitsLayout(const Recording& s) {
    const auto fits = [](std::int32_t v) { return v >= -9 && v <= 99; };
    return s.startYear >= 0 && s.startYear <= 99 && fits(s.startMonth) && fits(s.startDay) &&
           fits(s.startHour) && fits(s.startMinute) && fits(s.startSecond) && fits(s.endHour) &&
           fits(s.endMinute) && fits(s.endSecond);
}

bool sameHeader(const Recording& a, const Recording& b) {
    return a.startYear == b.startYear && a.startMonth == b.startMonth && a.startDay == b.startDay &&
           a.startHour == b.startHour && a.startMinute == b.startMinute &&
           a.startSecond == b.startSecond && a.endHour == b.endHour && a.endMinute == b.endMinute &&
           a.endSecond == b.endSecond;
}

// The writer's half-second clock is 64 bits wide: a tag beyond 2^62 s (a negative time read
// from a CSV file) can wrap it.
bool isSoundAnchor(std::uint64_t tag) {
    return tag < (std::uint64_t{1} << 62);
}

// The clock column shows a time of day, so a restart's own time comes back modulo a day;
// slot 0 always takes the start time of line 1; a continuation stays one.
void compareTags(const Recording& original, const Recording& back) {
    const std::int64_t start = std::int64_t{back.startHour} * 3600 +
                               std::int64_t{back.startMinute} * 60 + back.startSecond;
    require(back.sampleTime[0] == static_cast<std::uint64_t>(start),
            "slot 0 comes back with the start time");
    bool anchorSound =
        isSoundAnchor(original.sampleTime[0]) || original.sampleTime[0] == continuationTag;
    for (std::size_t i = 1; i < static_cast<std::size_t>(original.sampleCount); ++i) {
        const std::uint64_t tag = original.sampleTime[i];
        if (tag == continuationTag) {
            require(!anchorSound || back.sampleTime[i] == continuationTag,
                    "a continuation comes back as one");
            continue;
        }
        anchorSound = isSoundAnchor(tag);
        require(!anchorSound || back.sampleTime[i] == tag % kSecondsPerDay,
                "a restart comes back with its time of day");
    }
}

void exportAndRead(const Recording& from, const char* name, Recording& into) {
    const auto path = scratch().file(name);
    require(saveCsvExport(path, from, nullptr), "the export is written");
    require(readCSVFile(path, into), "the export reads as a CSV export");
}

std::string exportText(const Recording& store) {
    return formatCsvExport(store, nullptr);
}

}  // namespace
}  // namespace nuvisca::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nuvisca;
    static const std::unique_ptr<Recording> original = makeEmptyRecording();
    static const std::unique_ptr<Recording> back = makeEmptyRecording();
    static const std::unique_ptr<Recording> again = makeEmptyRecording();

    // A CSV line 1 cut at the field limit keeps the old start: start from a known one.
    original->startYear = original->startMonth = original->startDay = 0;
    original->startHour = original->startMinute = original->startSecond = 0;
    const auto input = fuzz::scratch().write("input", data, size);
    if (!readNVDFile(input, *original) && !readCSVFile(input, *original)) {
        return 0;
    }

    fuzz::exportAndRead(*original, "first.csv", *back);
    fuzz::require(back->sampleCount == original->sampleCount, "same sample count");
    fuzz::require(back->deviceId == original->deviceId, "same device id");
    if (fuzz::headerFitsLayout(*original)) {
        fuzz::require(fuzz::sameHeader(*back, *original), "same header");
    }
    if (original->sampleCount > 0) {
        fuzz::compareTags(*original, *back);
    }

    // Once read back, a recording is what the layout holds: a second trip changes no byte
    // (unless a negative start time sent the writer's clock round its 64 bits).
    if (!fuzz::isSoundAnchor(back->sampleTime[0])) {
        return 0;
    }
    fuzz::exportAndRead(*back, "second.csv", *again);
    std::string secondFile;
    fuzz::require(readWholeFile(fuzz::scratch().file("second.csv"), secondFile, kCsvSizeLimit) ==
                      WholeFileRead::kRead,
                  "the second export reads back");
    fuzz::require(fuzz::exportText(*again) == secondFile, "a second round trip is exact");
    return 0;
}
