#include "formats/CsvWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "formats/AtomicFile.h"
#include "formats/CsvLayout.h"

namespace nuvisca {
namespace {

constexpr std::uint64_t kSecondsPerDay = 86400;

// Appends like printf "%02d": at least two characters, a sign counts toward the width.
template <typename Integer>
void appendTwoDigits(std::string& out, Integer value) {
    char buffer[24];
    char* begin = buffer + 1;
    const auto result = std::to_chars(begin, buffer + sizeof buffer, value);
    if (result.ptr - begin == 1) {
        *--begin = '0';
    }
    out.append(begin, result.ptr);
}

void appendInteger(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Rounds exactly as printf "%.Nf" does (both take the exact binary value, ties to even).
void appendFixed(std::string& out, float value, int decimals) {
    char buffer[64];  // the widest float, 39 digits, with sign, point and five decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

void appendTime(std::string& out, std::int32_t hour, std::int32_t minute, std::int32_t second) {
    appendTwoDigits(out, hour);
    out += "時";
    appendTwoDigits(out, minute);
    out += "分";
    appendTwoDigits(out, second);
    out += '\n';
}

void appendHeader(std::string& out, const MeasurementStore& store, ExportSeries series) {
    out += csv::kFormatTag;
    out += ",ID ";
    out.append(store.deviceId.data(), ::strnlen(store.deviceId.data(), store.deviceId.size()));
    out += ",測定日時,";
    appendInteger(out, std::int64_t{store.startYear} + 2000);
    out += "年,";
    appendTwoDigits(out, store.startMonth);
    out += "月";
    appendTwoDigits(out, store.startDay);
    out += "日,";
    appendTime(out, store.startHour, store.startMinute, store.startSecond);

    if (series == ExportSeries::Averaged) {
        out += "移動平均,";
        appendInteger(out, std::int64_t{store.averageWindow} + 1);
        out += ",終了時刻,,,";
    } else {
        out += ",,終了時刻,,,";
    }
    appendTime(out, store.endHour, store.endMinute, store.endSecond);

    out += csv::kHeadingTime;
    out += ',';
    out += csv::kHeadingElapsed;
    out += ',';
    out += csv::kHeadingRso2;
    out += ',';
    out += csv::kHeadingOxhb;
    out += ',';
    out += csv::kHeadingDxhb;
    out += ',';
    out += csv::kHeadingTohb;
    out += '\n';
}

// "hh:mm:ss," from a half-second count; the hour wraps only when wrapHours is set.
void appendCounter(std::string& out, std::uint64_t halfSeconds, bool wrapHours) {
    const std::uint64_t seconds = halfSeconds / 2;
    const std::uint64_t hours = seconds / 3600;
    appendTwoDigits(out, wrapHours ? hours % 24 : hours);
    out += ':';
    appendTwoDigits(out, (seconds % 3600) / 60);
    out += ':';
    appendTwoDigits(out, seconds % 60);
    out += ',';
}

// Seconds from the first sample's tag to a later tag; a tag earlier in the day than the
// first one lies on the next day.
std::uint64_t secondsSince(std::uint64_t first, std::uint64_t tag) {
    if (tag >= first) {
        return tag - first;
    }
    const std::uint64_t back = (first - tag) % kSecondsPerDay;
    return back == 0 ? 0 : kSecondsPerDay - back;
}

struct Series {
    const SampleArray& rso2;
    const SampleArray& oxhb;
    const SampleArray& dxhb;
    const SampleArray& tohb;
};

Series chooseSeries(const MeasurementStore& store, ExportSeries series) {
    if (series == ExportSeries::Averaged) {
        return {store.rso2Avg, store.oxhbAvg, store.dxhbAvg, store.tohbAvg};
    }
    return {store.rso2Data, store.oxhbData, store.dxhbData, store.tohbData};
}

void appendValues(std::string& out, const Series& values, std::size_t slot, bool restart) {
    if (values.oxhb[slot] >= 0.0f) {
        appendFixed(out, values.rso2[slot], 2);
        out += ',';
        appendFixed(out, values.oxhb[slot], 5);
        out += ',';
        appendFixed(out, values.dxhb[slot], 5);
        out += ',';
        appendFixed(out, values.tohb[slot], 5);
    } else {
        out += "ERROR,ERROR,ERROR,ERROR";
    }
    out += restart ? ",restart\n" : "\n";
}

void appendSamples(std::string& out, const MeasurementStore& store, ExportSeries series) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::int32_t>(store.sampleCount, kSampleCapacity));
    if (count == 0) {
        return;
    }
    const Series values = chooseSeries(store, series);
    // A first slot without its own time (a continuation record first) starts at the header time.
    const std::uint64_t firstTag =
        store.sampleTime[0] != continuationTag
            ? store.sampleTime[0]
            : static_cast<std::uint64_t>(std::int64_t{startTimeOfDay(store)});
    std::uint64_t clock = 2 * firstTag;
    std::uint64_t elapsed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t tag = store.sampleTime[i];
        const bool restart = i >= 1 && tag != continuationTag;
        if (restart) {
            clock = 2 * tag;
            elapsed = 2 * secondsSince(firstTag, tag);
        } else if (i >= 1) {
            ++clock;
            ++elapsed;
        }
        appendCounter(out, clock, true);
        appendCounter(out, elapsed, false);
        appendValues(out, values, i, restart);
    }
}

}  // namespace

std::string formatCsvExport(const MeasurementStore& store, ExportSeries series) {
    constexpr std::size_t kHeaderBytes = 256;
    constexpr std::size_t kTypicalLineBytes = 64;
    std::string out;
    out.reserve(kHeaderBytes +
                kTypicalLineBytes * static_cast<std::size_t>(std::max(store.sampleCount, 0)));
    appendHeader(out, store, series);
    appendSamples(out, store, series);
    return out;
}

bool saveNVDFile(const std::filesystem::path& path, const MeasurementStore& store,
                 ExportSeries series) {
    return writeFileAtomically(path, formatCsvExport(store, series));
}

}  // namespace nuvisca
