#include "formats/EdfExport.h"

#include <algorithm>
#include <string_view>

#include "formats/AtomicFile.h"
#include "formats/EdfAnnotations.h"

namespace nuvisca {
namespace {

constexpr std::size_t kHeaderBlockBytes = 256;
constexpr std::size_t kSignalsWithAnnotations = kEdfSignalCount + 1;

// A header field: ASCII, left-aligned, padded with spaces, cut at its width.
void putField(std::string& out, std::string_view text, std::size_t width) {
    const std::size_t kept = std::min(text.size(), width);
    out.append(text.substr(0, kept));
    out.append(width - kept, ' ');
}

// One field of each signal, the annotation signal's last.
template <typename SignalText>
void putSignalFields(std::string& out, std::size_t width, SignalText signalText,
                     std::string_view annotationText) {
    for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
        putField(out, signalText(s), width);
    }
    putField(out, annotationText, width);
}

std::string twoDigits(std::int32_t value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string dotted(std::int32_t a, std::int32_t b, std::int32_t c) {
    return twoDigits(a) + '.' + twoDigits(b) + '.' + twoDigits(c);
}

// A header subfield holds no spaces and only printable ASCII; an unknown one is "X".
std::string subfield(std::string text) {
    if (text.empty()) {
        return "X";
    }
    for (char& c : text) {
        if (c <= ' ' || c > '~') {
            c = '_';
        }
    }
    return text;
}

std::string encodeHeader(const EdfPlan& plan, EdfFlavour flavour, std::size_t annotationSamples) {
    static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const bool edf = flavour == EdfFlavour::Edf;
    const EdfDigitalRange digital = digitalRangeOf(flavour);
    std::string out;
    out.reserve(kHeaderBlockBytes * (kSignalsWithAnnotations + 1));
    putField(out, edf ? "0" : "\377BIOSEMI", 8);
    putField(out, "X X X X", 80);  // anonymous
    putField(out,
             "Startdate " + twoDigits(plan.day) + '-' + kMonths[plan.month - 1] + '-' +
                 std::to_string(plan.year) + " X X " + subfield(plan.equipment),
             80);
    putField(out, dotted(plan.day, plan.month, plan.year), 8);
    putField(out, dotted(plan.hour, plan.minute, plan.second), 8);
    putField(out, std::to_string(kHeaderBlockBytes * (kSignalsWithAnnotations + 1)), 8);
    putField(out, edf ? "EDF+C" : "BDF+C", 44);
    putField(out, std::to_string(plan.recordCount), 8);
    putField(out, "1", 8);  // seconds per record
    putField(out, std::to_string(kSignalsWithAnnotations), 4);

    const auto signal = [](std::size_t s) -> const ChannelInfo& {
        return kChannels[kEdfSignalChannels[s]];
    };
    const auto text = [](std::string value) { return [value](std::size_t) { return value; }; };
    const std::string digitalMinimum = std::to_string(digital.minimum);
    const std::string digitalMaximum = std::to_string(digital.maximum);
    const std::string samplesPerRecord = std::to_string(kEdfSamplesPerRecord);
    putSignalFields(
        out, 16, [&](std::size_t s) { return signal(s).name; },
        edf ? "EDF Annotations" : "BDF Annotations");
    putSignalFields(out, 80, text({}), {});  // transducer
    putSignalFields(out, 8, [&](std::size_t s) { return signal(s).unit; }, {});
    putSignalFields(
        out, 8, [&](std::size_t s) { return plan.ranges[s].minimumText; }, "-1");
    putSignalFields(
        out, 8, [&](std::size_t s) { return plan.ranges[s].maximumText; }, "1");
    putSignalFields(out, 8, text(digitalMinimum), digitalMinimum);
    putSignalFields(out, 8, text(digitalMaximum), digitalMaximum);
    putSignalFields(out, 80, text(plan.prefilter), {});
    putSignalFields(out, 8, text(samplesPerRecord), std::to_string(annotationSamples));
    putSignalFields(out, 32, text({}), {});  // reserved
    return out;
}

}  // namespace

std::string encodeEdfFile(const EdfPlan& plan, EdfFlavour flavour) {
    const std::size_t sampleBytes = flavour == EdfFlavour::Edf ? 2 : 3;
    const std::vector<std::string> blocks = annotationBlocks(plan);
    std::size_t longest = 0;
    for (const std::string& block : blocks) {
        longest = std::max(longest, block.size());
    }
    const std::size_t annotationSamples = (longest + sampleBytes - 1) / sampleBytes;
    const std::size_t annotationBytes = annotationSamples * sampleBytes;
    constexpr std::size_t kRecordSamples = kEdfSignalCount * kEdfSamplesPerRecord;

    std::string out = encodeHeader(plan, flavour, annotationSamples);
    const std::size_t recordBytes = kRecordSamples * sampleBytes + annotationBytes;
    out.reserve(out.size() + blocks.size() * recordBytes);
    for (std::size_t r = 0; r < blocks.size(); ++r) {
        for (std::size_t i = 0; i < kRecordSamples; ++i) {
            const auto value = static_cast<std::uint32_t>(plan.samples[r * kRecordSamples + i]);
            for (std::size_t b = 0; b < sampleBytes; ++b) {  // little-endian two's complement
                out += static_cast<char>(value >> (8 * b) & 0xffu);
            }
        }
        out += blocks[r];
        out.append(annotationBytes - blocks[r].size(), '\0');
    }
    return out;
}

EdfResult saveEdfExport(const std::filesystem::path& path, const Recording& store,
                        const AveragedSeries* averaged, EdfFlavour flavour,
                        const Markers* markers) {
    EdfPlan plan;
    if (EdfResult planned = planEdfExport(store, averaged, flavour, markers, plan); !planned.ok) {
        return planned;
    }
    if (std::error_code why; !writeFileAtomically(path, encodeEdfFile(plan, flavour), &why)) {
        return {false, "cannot write " + path.string() + " (" + why.message() + ")", false, why};
    }
    return {true, {}, false, {}};
}

}  // namespace nuvisca
