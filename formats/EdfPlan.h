#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "formats/CsvWriter.h"
#include "store/Channels.h"
#include "store/Markers.h"
#include "store/Recording.h"

namespace nuvisca {

enum class EdfFlavour { Edf, Bdf };  // 16-bit or 24-bit samples

struct EdfResult {
    bool ok = false;
    std::string error;           // one line, when not ok
    bool refused = false;        // the recording cannot become such a file, wherever it goes
    std::error_code writeError;  // why the file could not be written
};

inline constexpr auto& kEdfSignalChannels = kListingOrder;
inline constexpr std::size_t kEdfSignalCount = kEdfSignalChannels.size();
inline constexpr std::int32_t kEdfSamplesPerRecord = 2;  // 2 Hz in records of 1 s

struct EdfDigitalRange {
    std::int32_t minimum;  // reserved for samples without a value and for padding
    std::int32_t maximum;
};

EdfDigitalRange digitalRangeOf(EdfFlavour flavour);

// A physical range as the header holds it: at most 8 characters each.
struct EdfPhysicalRange {
    std::string minimumText;
    std::string maximumText;
    double minimum = 0.0;  // the texts' values
    double maximum = 0.0;
};

// The narrowest range whose 8-character bounds hold every value in [lowest, highest] above
// the reserved digital minimum. Values must be finite, lowest <= highest and |value| < 1e7.
EdfPhysicalRange choosePhysicalRange(double lowest, double highest, EdfFlavour flavour);

// The digital value that the header's range gives value, never the reserved minimum.
std::int32_t digitalValueOf(double value, const EdfPhysicalRange& range, EdfFlavour flavour);

// Each slot's place on the continuous timeline, in half-second steps from slot 0. Restart
// tags must be times of day.
std::vector<std::int64_t> timelineSteps(const Recording& store);

struct EdfAnnotation {
    std::int64_t onsetSteps = 0;
    std::int64_t durationSteps = -1;  // negative: none
    std::string text;
};

struct EdfPlan {
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::int64_t recordCount = 0;
    std::array<EdfPhysicalRange, kEdfSignalCount> ranges;
    // recordCount records, each kEdfSamplesPerRecord samples of every signal in turn.
    std::vector<std::int32_t> samples;
    std::vector<EdfAnnotation> annotations;  // in timeline order
    std::string equipment;                   // the device ID, empty when it has none
    std::string prefilter;                   // how the series were filtered, or empty
};

// Everything the file holds, or the reason why the recording cannot become one. Each marker
// inside the recording (none when null) becomes an annotation with its label, after the
// restarts and gaps at its onset.
EdfResult planEdfExport(const Recording& store, const AveragedSeries* averaged, EdfFlavour flavour,
                        const Markers* markers, EdfPlan& plan);

}  // namespace nuvisca
