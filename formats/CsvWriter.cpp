#include "formats/CsvWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "formats/AtomicFile.h"
#include "formats/CsvLayout.h"
#include "formats/FixedDecimal.h"
#include "formats/TextFields.h"
#include "store/Channels.h"
#include "store/ElapsedTime.h"
#include "store/RecordingDate.h"

namespace nuvisca {
namespace {

// Writes like printf "%02llu".
char* writeTwoDigits(char* out, std::uint64_t value) {
    if (value >= 100) {
        return std::to_chars(out, out + 24, value).ptr;
    }
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

void appendHeader(std::string& out, const Recording& store, const AveragedSeries* averaged) {
    out += csv::kFormatTag;
    out += ',';
    out += deviceIdLabel(store);
    out += ",測定日時,";
    out += formatDate(recordingStart(store), DateStyle::CsvHeader);
    out += '\n';

    if (averaged != nullptr) {
        out += "移動平均,";
        appendInteger(out, averaged->box());
        out += ",終了時刻,,,";
    } else {
        out += ",,終了時刻,,,";
    }
    out += formatTimeOfDay(recordingEnd(store), DateStyle::CsvHeader);
    out += '\n';

    out += csv::kHeadingTime;
    out += ',';
    out += csv::kHeadingElapsed;
    for (const Channel channel : kListingOrder) {
        out += ',';
        out += kChannels[channel].heading;
    }
    out += '\n';
}

// "hh:mm:ss," from a half-second count; the hour wraps only when wrapHours is set.
char* writeCounter(char* out, std::uint64_t halfSeconds, bool wrapHours) {
    const std::uint64_t seconds = halfSeconds / 2;
    const std::uint64_t hours = seconds / 3600;
    out = writeTwoDigits(out, wrapHours ? hours % 24 : hours);
    *out++ = ':';
    out = writeTwoDigits(out, (seconds % 3600) / 60);
    *out++ = ':';
    out = writeTwoDigits(out, seconds % 60);
    *out++ = ',';
    return out;
}

using Series = std::array<SampleArray, kChannelCount>;

char* writeText(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* writeValues(char* out, const Series& series, std::size_t slot, bool restart) {
    if (series[kOxhb][slot] >= 0.0f) {
        for (const Channel channel : kListingOrder) {
            out = formatFixed(out, series[channel][slot], kChannels[channel].decimals);
            *out++ = ',';
        }
        --out;  // no comma after the last value
    } else {
        out = writeText(out, "ERROR,ERROR,ERROR,ERROR");
    }
    return writeText(out, restart ? ",restart\n" : "\n");
}

// Two counters of up to 20 digits each, four numbers and the ending.
constexpr std::size_t kLineCapacity = 2 * 32 + 4 * (kFixedBufferSize + 1) + 16;

void appendSamples(std::string& out, const Recording& store, const AveragedSeries* averaged) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::int32_t>(store.sampleCount, kSampleCapacity));
    if (count == 0) {
        return;
    }
    const Series& values = averaged != nullptr ? averaged->values : store.measured;
    const std::uint64_t firstTag = firstSlotTime(store);
    std::uint64_t clock = 2 * firstTag;
    std::uint64_t elapsed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t tag = store.sampleTime[i];
        const bool restart = i >= 1 && tag != continuationTag;
        if (restart) {
            clock = 2 * tag;
            elapsed = 2 * secondsSinceFirst(firstTag, tag);
        } else if (i >= 1) {
            ++clock;
            ++elapsed;
        }
        char line[kLineCapacity];
        char* end = writeCounter(line, clock, true);
        end = writeCounter(end, elapsed, false);
        end = writeValues(end, values, i, restart);
        out.append(line, end);
    }
}

}  // namespace

std::string formatCsvExport(const Recording& store, const AveragedSeries* averaged) {
    constexpr std::size_t kHeaderBytes = 256;
    constexpr std::size_t kTypicalLineBytes = 64;
    std::string out;
    out.reserve(kHeaderBytes +
                kTypicalLineBytes * static_cast<std::size_t>(std::max(store.sampleCount, 0)));
    appendHeader(out, store, averaged);
    appendSamples(out, store, averaged);
    return out;
}

bool saveCsvExport(const std::filesystem::path& path, const Recording& store,
                   const AveragedSeries* averaged, std::error_code* why) {
    return writeFileAtomically(path, formatCsvExport(store, averaged), why);
}

ExportTimes exportTimesOf(const Recording& store, std::int32_t slot) {
    const auto text = [](std::uint64_t halfSeconds, bool wrapHours) {
        char counter[64];
        // Without the comma the export writes after each counter.
        return std::string(counter, writeCounter(counter, halfSeconds, wrapHours) - 1);
    };
    return {text(clockHalfSeconds(store, slot), true),
            text(elapsedHalfSeconds(store, slot), false)};
}

}  // namespace nuvisca
