#include "formats/EdfPlan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace nuvisca {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kHeaderNumberWidth = 8;
// Far beyond any rSO2 or index, and well inside what 8 header characters can bound.
constexpr double kLargestValue = 1e6;
constexpr std::int64_t kNoDataLongerThanSteps = 2;  // 1 s

std::string fixedText(std::int64_t scaled, int decimals) {
    std::string digits = std::to_string(scaled < 0 ? -scaled : scaled);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    return scaled < 0 ? "-" + digits : digits;
}

// x rounded down (or up) to the most decimals that fit the header's 8 characters.
std::string boundText(double x, bool up) {
    for (int decimals = 7; decimals >= 0; --decimals) {
        const double unit = std::pow(10.0, decimals);
        auto scaled = static_cast<std::int64_t>(up ? std::ceil(x * unit) : std::floor(x * unit));
        // The product may round across an integer: the bound must still hold x.
        std::string text = fixedText(scaled, decimals);
        const double value = std::strtod(text.c_str(), nullptr);
        if (up ? value < x : value > x) {
            text = fixedText(scaled + (up ? 1 : -1), decimals);
        }
        if (text.size() <= kHeaderNumberWidth) {
            return text;
        }
    }
    return up ? "99999999" : "-9999999";
}

double levelsOf(EdfFlavour flavour) {
    const EdfDigitalRange digital = digitalRangeOf(flavour);
    return static_cast<double>(digital.maximum) - static_cast<double>(digital.minimum);
}

bool isRealDate(std::int64_t year, std::int32_t month, std::int32_t day) {
    constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string dateText(std::int64_t year, std::int32_t month, std::int32_t day) {
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(year), month, day);
    return text;
}

EdfResult refused(std::string reason) {
    return {false, std::move(reason), true, {}};
}

// The day slot 0 lies on: the header's, or its neighbour when slot 0's time of day is more than
// 12 hours away from the header's start time (a header written just before midnight).
std::chrono::year_month_day slotZeroDay(std::chrono::year_month_day header,
                                        std::int64_t slotZeroSeconds, std::int64_t headerSeconds) {
    const std::int64_t ahead = slotZeroSeconds - headerSeconds;
    if (ahead < -kSecondsPerDay / 2) {
        return std::chrono::sys_days(header) + std::chrono::days(1);
    }
    if (ahead > kSecondsPerDay / 2) {
        return std::chrono::sys_days(header) - std::chrono::days(1);
    }
    return header;
}

// Slot 0's date and time of day, when they are real.
EdfResult planStart(const Recording& store, EdfPlan& plan) {
    const std::int64_t headerYear = std::int64_t{store.startYear} + 2000;
    if (!isRealDate(headerYear, store.startMonth, store.startDay)) {
        return refused("the start date " + dateText(headerYear, store.startMonth, store.startDay) +
                       " is not a calendar date");
    }
    const auto outsideEdfYears = [](std::int64_t year) {
        return refused("the start year " + std::to_string(year) +
                       " lies outside what EDF+ allows (1985-2084)");
    };
    // Slot 0 lies at most a day away from the header's date.
    if (headerYear < 1984 || headerYear > 2085) {
        return outsideEdfYears(headerYear);
    }
    std::int64_t seconds = 0;
    if (store.sampleTime[0] != continuationTag) {
        if (store.sampleTime[0] >= static_cast<std::uint64_t>(kSecondsPerDay)) {
            return refused("the first sample's time is not a time of day");
        }
        seconds = static_cast<std::int64_t>(store.sampleTime[0]);
    } else {
        if (store.startHour < 0 || store.startHour > 23 || store.startMinute < 0 ||
            store.startMinute > 59 || store.startSecond < 0 || store.startSecond > 59) {
            return refused("the start time is not a time of day");
        }
        seconds = startTimeOfDay(store);
    }
    const std::chrono::year_month_day day =
        slotZeroDay(std::chrono::year{static_cast<int>(headerYear)} /
                        std::chrono::month{static_cast<unsigned>(store.startMonth)} /
                        std::chrono::day{static_cast<unsigned>(store.startDay)},
                    seconds, startTimeOfDay(store));
    const int year = static_cast<int>(day.year());
    if (year < 1985 || year > 2084) {
        return outsideEdfYears(year);
    }
    plan.year = year;
    plan.month = static_cast<std::int32_t>(static_cast<unsigned>(day.month()));
    plan.day = static_cast<std::int32_t>(static_cast<unsigned>(day.day()));
    plan.hour = static_cast<std::int32_t>(seconds / 3600);
    plan.minute = static_cast<std::int32_t>(seconds / 60 % 60);
    plan.second = static_cast<std::int32_t>(seconds % 60);
    return {true, {}, false, {}};
}

struct SlotValues {
    const Recording& store;
    const std::array<SampleArray, kChannelCount>& chosen;

    // The value of a signal at a slot, or NaN when it has none.
    double at(std::size_t signal, std::size_t slot) const {
        const Channel channel = kEdfSignalChannels[signal];
        const double value = chosen[channel][slot];
        // rSO2 is present where the graph draws it, also when the averages are chosen.
        if (channel == kRso2 && !(static_cast<double>(store.measured[kRso2][slot]) > 0.01)) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        return std::isfinite(value) && value >= 0.0 ? value
                                                    : std::numeric_limits<double>::quiet_NaN();
    }
};

void addNoDataAnnotations(const std::vector<bool>& filled, EdfPlan& plan) {
    const auto total = static_cast<std::int64_t>(filled.size());
    for (std::int64_t t = 0; t < total;) {
        if (filled[static_cast<std::size_t>(t)]) {
            ++t;
            continue;
        }
        const std::int64_t first = t;
        while (t < total && !filled[static_cast<std::size_t>(t)]) {
            ++t;
        }
        if (t - first > kNoDataLongerThanSteps) {
            plan.annotations.push_back({first, t - first, "no data"});
        }
    }
}

void addMarkerAnnotations(const Markers& markers, const std::vector<std::int64_t>& steps,
                          EdfPlan& plan) {
    const auto count = static_cast<std::int32_t>(steps.size());
    const auto placeOf = [&](std::int32_t slot) {
        return slot < count ? steps[static_cast<std::size_t>(slot)] : steps.back() + 1;
    };
    for (const Marker& marker : markers) {
        std::string label = cleanMarkerLabel(marker.label);
        if (marker.slot < 0 || marker.slot >= count || label.empty()) {
            continue;
        }
        const std::int64_t onset = placeOf(marker.slot);
        const std::int64_t duration =
            marker.durationSlots > 0
                ? placeOf(static_cast<std::int32_t>(std::min<std::int64_t>(
                      std::int64_t{marker.slot} + marker.durationSlots, count))) -
                      onset
                : -1;
        plan.annotations.push_back({onset, duration, std::move(label)});
    }
}

}  // namespace

EdfDigitalRange digitalRangeOf(EdfFlavour flavour) {
    return flavour == EdfFlavour::Edf ? EdfDigitalRange{-32768, 32767}
                                      : EdfDigitalRange{-8388608, 8388607};
}

EdfPhysicalRange choosePhysicalRange(double lowest, double highest, EdfFlavour flavour) {
    const double levels = levelsOf(flavour);
    if (!(highest > lowest)) {
        highest = lowest + 1.0;  // one value: any range around it holds it exactly enough
    }
    // One step below the lowest value keeps it off the reserved minimum.
    double wanted = lowest - (highest - lowest) / (levels - 1.0);
    EdfPhysicalRange range;
    for (int attempt = 0; attempt < 8; ++attempt) {
        range.minimumText = boundText(wanted, false);
        range.maximumText = boundText(highest, true);
        range.minimum = std::strtod(range.minimumText.c_str(), nullptr);
        range.maximum = std::strtod(range.maximumText.c_str(), nullptr);
        const double step = (range.maximum - range.minimum) / levels;
        if ((lowest - range.minimum) / step >= 0.75) {
            break;
        }
        wanted = range.minimum - step;
    }
    return range;
}

std::int32_t digitalValueOf(double value, const EdfPhysicalRange& range, EdfFlavour flavour) {
    const EdfDigitalRange digital = digitalRangeOf(flavour);
    const double step = (range.maximum - range.minimum) / levelsOf(flavour);
    const double level = digital.minimum + std::round((value - range.minimum) / step);
    return static_cast<std::int32_t>(
        std::clamp(level, digital.minimum + 1.0, static_cast<double>(digital.maximum)));
}

std::vector<std::int64_t> timelineSteps(const Recording& store) {
    const auto count = static_cast<std::size_t>(std::clamp(store.sampleCount, 0, kSampleCapacity));
    std::vector<std::int64_t> steps(count);
    if (count == 0) {
        return steps;
    }
    const std::int64_t first = store.sampleTime[0] != continuationTag
                                   ? static_cast<std::int64_t>(store.sampleTime[0] % kSecondsPerDay)
                                   : startTimeOfDay(store);
    for (std::size_t i = 1; i < count; ++i) {
        steps[i] = steps[i - 1] + 1;
        const std::uint64_t tag = store.sampleTime[i];
        if (tag != continuationTag) {
            // As the CSV export counts it: a time earlier in the day than the start is on the
            // next day.
            const std::int64_t since =
                ((static_cast<std::int64_t>(tag % kSecondsPerDay) - first) % kSecondsPerDay +
                 kSecondsPerDay) %
                kSecondsPerDay;
            steps[i] = std::max(steps[i], 2 * since);
        }
    }
    return steps;
}

EdfResult planEdfExport(const Recording& store, const AveragedSeries* averaged, EdfFlavour flavour,
                        const Markers* markers, EdfPlan& plan) {
    plan = EdfPlan{};
    if (store.sampleCount <= 0) {
        return refused("the recording holds no samples");
    }
    if (EdfResult start = planStart(store, plan); !start.ok) {
        return start;
    }
    plan.equipment.assign(store.deviceId.data(),
                          ::strnlen(store.deviceId.data(), store.deviceId.size()));
    if (averaged != nullptr) {
        plan.prefilter = "moving average " + std::to_string(averaged->box());
    }
    const std::vector<std::int64_t> steps = timelineSteps(store);
    const std::size_t count = steps.size();
    const SlotValues values{store, averaged != nullptr ? averaged->values : store.measured};

    std::array<double, kEdfSignalCount> lowest, highest;
    lowest.fill(std::numeric_limits<double>::infinity());
    highest.fill(-std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
            const double v = values.at(s, i);
            if (v >= kLargestValue) {
                return refused("sample " + std::to_string(i) + " holds a value too large for EDF");
            }
            if (v == v) {
                lowest[s] = std::min(lowest[s], v);
                highest[s] = std::max(highest[s], v);
            }
        }
    }
    for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
        plan.ranges[s] = lowest[s] <= highest[s]
                             ? choosePhysicalRange(lowest[s], highest[s], flavour)
                             : choosePhysicalRange(0.0, 1.0, flavour);
    }

    plan.recordCount = (steps.back() + kEdfSamplesPerRecord) / kEdfSamplesPerRecord;
    const auto stepCount = static_cast<std::size_t>(plan.recordCount * kEdfSamplesPerRecord);
    constexpr std::size_t kRecordSamples = kEdfSignalCount * kEdfSamplesPerRecord;
    plan.samples.assign(static_cast<std::size_t>(plan.recordCount) * kRecordSamples,
                        digitalRangeOf(flavour).minimum);
    std::vector<bool> filled(stepCount, false);
    for (std::size_t i = 0; i < count; ++i) {
        const auto step = static_cast<std::size_t>(steps[i]);
        const std::size_t base =
            step / kEdfSamplesPerRecord * kRecordSamples + step % kEdfSamplesPerRecord;
        for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
            const double v = values.at(s, i);
            if (v == v) {
                plan.samples[base + s * kEdfSamplesPerRecord] =
                    digitalValueOf(v, plan.ranges[s], flavour);
                filled[step] = true;
            }
        }
        if (i >= 1 && store.sampleTime[i] != continuationTag) {
            plan.annotations.push_back({steps[i], -1, "restart"});
        }
    }
    addNoDataAnnotations(filled, plan);
    if (markers != nullptr) {
        addMarkerAnnotations(*markers, steps, plan);
    }
    std::stable_sort(
        plan.annotations.begin(), plan.annotations.end(),
        [](const EdfAnnotation& a, const EdfAnnotation& b) { return a.onsetSteps < b.onsetSteps; });
    return {true, {}, false, {}};
}

}  // namespace nuvisca
