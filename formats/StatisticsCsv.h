#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "store/Baseline.h"
#include "store/RangeStatistics.h"

namespace nuvisca {

// The statistics CSV's header line, ending in '\n'.
std::string statisticsCsvHeader();

// A channel's figures as the CSV and the readable block write them; mean, min and max are
// empty when nothing counted.
struct ChannelStatisticTexts {
    std::string count;
    std::string mean;
    std::string min;
    std::string max;
};
ChannelStatisticTexts channelStatisticTexts(Channel channel, const ChannelStatistics& stats);

// The threshold in percent, the time below it in seconds and the area below it in %·min.
struct BelowThresholdTexts {
    std::string threshold;
    std::string seconds;
    std::string area;
};
BelowThresholdTexts belowThresholdTexts(const RangeStatistics& stats);

// The baseline's value in percent and how it was set: "62.50 % (typed)".
std::string baselineText(const Baseline& baseline);

// What the statistics say of desaturation besides the range's figures.
struct DesaturationFigures {
    std::optional<Baseline> baseline;  // none: not set
    std::size_t events = 0;            // at the statistics' threshold
};

// One line of the statistics CSV, ending in '\n': the file as given, quoted when it must be;
// the baseline's field is empty without one.
void appendStatisticsCsvRow(std::string& out, std::string_view file, const RangeStatistics& stats,
                            const DesaturationFigures& figures);

// The readable block of one file, 'key: value' lines ending in '\n'.
std::string formatStatisticsText(std::string_view file, const RangeStatistics& stats,
                                 const DesaturationFigures& figures);

}  // namespace nuvisca
