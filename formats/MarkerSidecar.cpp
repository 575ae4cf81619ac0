#include "formats/MarkerSidecar.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "formats/EdfPlan.h"
#include "formats/Utf8Text.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

constexpr std::string_view kHeader = "onset\tduration\ttrial_type\tclock\tvalue\n";
constexpr std::string_view kNotApplicable = "n/a";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::array<std::pair<BaselineMethod, std::string_view>, 3> kBaselineNames = {{
    {BaselineMethod::kFirstMinutes, "baseline/first-minutes"},
    {BaselineMethod::kRange, "baseline/range"},
    {BaselineMethod::kTyped, "baseline/typed"},
}};

std::string_view baselineName(BaselineMethod method) {
    for (const auto& [named, name] : kBaselineNames) {
        if (named == method) {
            return name;
        }
    }
    return kBaselineNames.back().second;
}

std::optional<BaselineMethod> baselineMethodNamed(std::string_view name) {
    for (const auto& [method, named] : kBaselineNames) {
        if (named == name) {
            return method;
        }
    }
    return std::nullopt;
}

// The slots' places on the continuous timeline; the end of the recording lies one step past
// the last slot.
class Timeline {
public:
    explicit Timeline(const Recording& recording) : steps_(timelineSteps(recording)) {}

    std::int32_t slotCount() const { return static_cast<std::int32_t>(steps_.size()); }

    std::int64_t placeOf(std::int32_t slot) const {
        return slot < slotCount() ? steps_[static_cast<std::size_t>(slot)] : steps_.back() + 1;
    }

    // The first slot at or after the place, or slotCount() when none is.
    std::int32_t slotAtOrAfter(double place) const {
        const auto at = std::lower_bound(
            steps_.begin(), steps_.end(), place,
            [](std::int64_t step, double wanted) { return static_cast<double>(step) < wanted; });
        return static_cast<std::int32_t>(at - steps_.begin());
    }

    // Whether the place lies at or before the last slot's.
    bool holds(double place) const {
        return !steps_.empty() && place <= static_cast<double>(steps_.back());
    }

private:
    std::vector<std::int64_t> steps_;
};

// The time axis's clock at slots in rising order, set forward from restart to restart rather
// than counted anew from slot 0 for each.
class ForwardClock {
public:
    explicit ForwardClock(const Recording& recording)
        : recording_(recording), clock_(recording, 1) {}

    std::uint64_t timeOf(std::int32_t slot) {
        if (slot + 1 < counted_) {
            return clockTimeOf(recording_, slot);
        }
        for (std::int32_t i = nextTaggedSlot(recording_, counted_, slot + 1); i <= slot;
             i = nextTaggedSlot(recording_, i + 1, slot + 1)) {
            clock_.restartAt(slotTag(recording_, i), i);
        }
        counted_ = slot + 1;
        return clock_.timeOf(slot);
    }

private:
    const Recording& recording_;
    DayCountingClock clock_;
    std::int32_t counted_ = 1;  // restarts before this slot are counted
};

std::string secondsText(std::int64_t steps) {
    return std::to_string(steps / 2) + (steps % 2 != 0 ? ".5" : ".0");
}

// The shortest text that reads back as the same double, whatever the locale.
std::string valueText(double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string(kNotApplicable);
}

void appendRow(std::string& out, ForwardClock& clock, const Timeline& timeline, std::int32_t slot,
               std::int32_t end, std::string_view type, std::string_view value) {
    const std::int64_t onset = timeline.placeOf(slot);
    out += secondsText(onset);
    out += '\t';
    out += end > slot ? secondsText(timeline.placeOf(end) - onset) : std::string(kNotApplicable);
    out += '\t';
    out += type;
    out += '\t';
    out += formatClock(clock.timeOf(slot));
    out += '\t';
    out += value;
    out += '\n';
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab - from));
        if (tab == std::string_view::npos) {
            return fields;
        }
        from = tab + 1;
    }
}

std::string_view trimmedSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A finite decimal number and nothing else, spaces around it allowed.
std::optional<double> numberOf(std::string_view text) {
    text = trimmedSpaces(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

struct Columns {
    std::size_t count = 0;
    std::size_t onset = 0;
    std::size_t duration = 0;
    std::size_t type = 0;
    std::optional<std::size_t> value;
};

std::optional<Columns> columnsOf(std::string_view header) {
    const std::vector<std::string_view> names = splitFields(header);
    const auto find = [&names](std::string_view name) -> std::optional<std::size_t> {
        const auto at = std::find(names.begin(), names.end(), name);
        if (at == names.end()) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(at - names.begin());
    };
    const auto onset = find("onset");
    const auto duration = find("duration");
    const auto type = find("trial_type");
    if (!onset || !duration || !type) {
        return std::nullopt;
    }
    return Columns{names.size(), *onset, *duration, *type, find("value")};
}

// A stretch of slots named by an onset and a duration, as read.
struct Stretch {
    std::int32_t slot = 0;
    std::int32_t end = 0;  // == slot for a moment
};

// Onsets outside the recording are refused; a duration running past its end is cut there,
// as the writer cuts it, so that an edited recording's marker is not lost for its length.
std::optional<Stretch> stretchOf(std::string_view onsetText, std::string_view durationText,
                                 const Timeline& timeline) {
    const std::optional<double> onset = numberOf(onsetText);
    if (!onset || *onset < 0.0 || !timeline.holds(*onset * 2.0)) {
        return std::nullopt;
    }
    const std::int32_t slot = timeline.slotAtOrAfter(*onset * 2.0);
    if (trimmedSpaces(durationText) == kNotApplicable) {
        return Stretch{slot, slot};
    }
    const std::optional<double> duration = numberOf(durationText);
    if (!duration || *duration < 0.0) {
        return std::nullopt;
    }
    return Stretch{slot, std::max(slot, timeline.slotAtOrAfter((*onset + *duration) * 2.0))};
}

class RowReader {
public:
    RowReader(const Recording& recording, const Columns& columns, SidecarRead& read)
        : recording_(recording), timeline_(recording), columns_(columns), read_(read) {}

    void readRow(std::string_view line, std::size_t lineNumber) {
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != columns_.count || !keptRow(fields)) {
            leaveOut(lineNumber);
        }
    }

    void finish() {
        if (skippedBad_ > 0) {
            read_.problem = SidecarProblem::kBadRows;
        } else if (read_.skippedRows > 0) {
            read_.problem = SidecarProblem::kTooManyRows;
        }
    }

private:
    bool keptRow(const std::vector<std::string_view>& fields) {
        const std::string_view type = fields[columns_.type];
        const std::string_view value =
            columns_.value ? trimmedSpaces(fields[*columns_.value]) : kNotApplicable;
        if (const auto method = baselineMethodNamed(type); method && value != kNotApplicable) {
            return keptBaseline(*method, value, fields);
        }
        const std::optional<Stretch> stretch =
            stretchOf(fields[columns_.onset], fields[columns_.duration], timeline_);
        std::string label = cleanMarkerLabel(type);
        if (!stretch || label.empty()) {
            return false;
        }
        if (read_.kept.markers.size() >= kMarkerLimit) {
            ++overLimit_;
            return false;
        }
        insertMarker(read_.kept.markers,
                     Marker{stretch->slot, stretch->end - stretch->slot, std::move(label)});
        return true;
    }

    bool keptBaseline(BaselineMethod method, std::string_view valueText,
                      const std::vector<std::string_view>& fields) {
        const std::optional<double> value = numberOf(valueText);
        if (read_.kept.baseline || !value || *value < 0.0) {
            return false;
        }
        if (method == BaselineMethod::kTyped) {
            read_.kept.baseline = Baseline{*value, method, 0, 0, 0};
            return true;
        }
        const std::optional<Stretch> stretch =
            stretchOf(fields[columns_.onset], fields[columns_.duration], timeline_);
        if (!stretch || stretch->end <= stretch->slot) {
            return false;
        }
        // The count is the recording's; only the value is taken from the file, since it may be
        // the mean of an averaged series.
        const auto measured =
            measureBaseline(recording_, nullptr, method, stretch->slot, stretch->end);
        if (!measured) {
            return false;
        }
        read_.kept.baseline =
            Baseline{*value, method, stretch->slot, stretch->end, measured->counted};
        return true;
    }

    void leaveOut(std::size_t lineNumber) {
        if (read_.firstBadLine == 0) {
            read_.firstBadLine = lineNumber;
        }
        ++read_.skippedRows;
        skippedBad_ = read_.skippedRows - overLimit_;
    }

    const Recording& recording_;
    Timeline timeline_;
    const Columns& columns_;
    SidecarRead& read_;
    std::size_t overLimit_ = 0;
    std::size_t skippedBad_ = 0;
};

}  // namespace

std::string encodeSidecar(const Recording& recording, const KeptAnnotations& kept) {
    std::string out(kHeader);
    const Timeline timeline(recording);
    const std::int32_t count = timeline.slotCount();
    if (count == 0) {
        return out;
    }
    if (const std::optional<Baseline>& baseline = kept.baseline) {
        const bool typed = baseline->method == BaselineMethod::kTyped;
        const std::int32_t start = typed ? 0 : std::clamp(baseline->start, 0, count - 1);
        const std::int32_t end = typed ? 0 : std::clamp(baseline->end, start, count);
        ForwardClock baselineClock(recording);
        appendRow(out, baselineClock, timeline, start, end, baselineName(baseline->method),
                  valueText(baseline->value));
    }
    ForwardClock clock(recording);
    for (const Marker& marker : kept.markers) {
        const std::string label = cleanMarkerLabel(marker.label);
        if (marker.slot < 0 || marker.slot >= count || label.empty()) {
            continue;
        }
        const std::int32_t end = marker.durationSlots > 0
                                     ? static_cast<std::int32_t>(std::min<std::int64_t>(
                                           std::int64_t{marker.slot} + marker.durationSlots, count))
                                     : marker.slot;
        appendRow(out, clock, timeline, marker.slot, end, label, kNotApplicable);
    }
    return out;
}

SidecarRead decodeSidecar(std::string_view text, const Recording& recording) {
    SidecarRead read;
    if (text.size() > kSidecarByteLimit) {
        read.problem = SidecarProblem::kTooLarge;
        return read;
    }
    if (!isValidUtf8(text) || text.find('\0') != std::string_view::npos) {
        read.problem = SidecarProblem::kNotASidecar;
        return read;
    }
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::optional<Columns> columns;
    std::optional<RowReader> rows;
    std::size_t lineNumber = 0;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t newline = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, newline - from);
        from = newline + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!columns) {
            columns = columnsOf(line);
            if (!columns) {
                read.problem = SidecarProblem::kNotASidecar;
                return read;
            }
            rows.emplace(recording, *columns, read);
        } else if (!line.empty()) {
            rows->readRow(line, lineNumber);
        }
    }
    if (!rows) {
        read.problem = SidecarProblem::kNotASidecar;
        return read;
    }
    rows->finish();
    return read;
}

}  // namespace nuvisca
