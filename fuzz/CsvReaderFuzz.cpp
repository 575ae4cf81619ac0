// The CSV reader on any bytes: its date key and its load, with the properties that hold for
// every text.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "FuzzSupport.h"
#include "formats/CsvReader.h"

namespace nuvisca::fuzz {
namespace {

// Strict UTF-8 decided byte by byte, apart from the reader's own check.
bool isStrictUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            c = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            c = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            c = b & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            c = c << 6 | (next & 0x3Fu);
        }
        const std::uint32_t least = length == 3 ? 0x800u : length == 4 ? 0x10000u : 0x80u;
        if (c < least || c > 0x10FFFFu || (c >= 0xD800u && c <= 0xDFFFu)) {
            return false;
        }
        i += length;
    }
    return true;
}

// Lines as the layout cuts them: LF, CR LF and CR each end one.
std::size_t lineCount(std::string_view text) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++lines;
        }
    }
    const bool openLast = !text.empty() && text.back() != '\n' && text.back() != '\r';
    return lines + (openLast ? 1 : 0);
}

// Line 1 is taken whole when it has at most 21 fields.
bool firstLineComplete(std::string_view text) {
    const std::string_view line = text.substr(0, std::min(text.find('\n'), text.find('\r')));
    return std::count(line.begin(), line.end(), ',') < 21;
}

bool isSum(float sum, float a, float b) {
    const float expected = a + b;
    return std::memcmp(&sum, &expected, sizeof sum) == 0;
}

}  // namespace
}  // namespace nuvisca::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nuvisca;
    static const std::unique_ptr<Recording> store = makeEmptyRecording();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto path = fuzz::scratch().write("input.csv", data, size);
    const std::int64_t key = getDateFromCSV(path);
    fuzz::markUntouched(*store);
    const bool loaded = readCSVFile(path, *store);

    const bool isExport = text.starts_with("RM27") && fuzz::isStrictUtf8(text);
    fuzz::require(loaded == isExport, "read exactly when UTF-8 text starts with RM27");
    if (!loaded) {
        fuzz::require(key == 0, "no date key for a file that is not an export");
        fuzz::require(fuzz::isUntouched(*store), "a refused file leaves the store alone");
        return 0;
    }
    const auto count = store->sampleCount;
    fuzz::require(count >= 0 && count <= kSampleCapacity, "sample count within the capacity");
    fuzz::require(
        static_cast<std::size_t>(count) + 3 <= std::max<std::size_t>(fuzz::lineCount(text), 3),
        "at most one slot per data line");
    fuzz::require(fuzz::holdsDigitsOnly(*store), "device id of 13 digits");
    fuzz::require(store->spanSamples == computeSpanSamples(*store), "span from the header");
    if (fuzz::firstLineComplete(text)) {
        fuzz::require(key == fuzz::dateKeyOf(*store), "date key and loaded start agree");
        if (count > 0) {
            const std::int64_t start = std::int64_t{store->startHour} * 3600 +
                                       std::int64_t{store->startMinute} * 60 + store->startSecond;
            fuzz::require(store->sampleTime[0] == static_cast<std::uint64_t>(start),
                          "the first slot bears the start time");
        }
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        fuzz::require(fuzz::isSum(store->measured[kTohb][i], store->measured[kOxhb][i],
                                  store->measured[kDxhb][i]),
                      "toHb is oxHb + dxHb");
    }
    return 0;
}
