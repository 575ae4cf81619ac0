#include "formats/EventsCsv.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "formats/CsvWriter.h"
#include "formats/StatisticsCsv.h"
#include "formats/TextFields.h"

namespace nuvisca {
namespace {

constexpr std::size_t kColumns = 8;
constexpr std::array<std::string_view, kColumns> kHeadings{
    "event", "start", "end", "onset", "elapsed", "duration_s", "nadir", "auc_below"};

// An event's fields after the file, in the CSV's order up to auc_below.
std::array<std::string, kColumns> eventFields(std::size_t number, const Recording& store,
                                              const DesaturationEvent& event) {
    std::array<std::string, kColumns> fields;
    appendInteger(fields[0], static_cast<std::int64_t>(number));
    appendInteger(fields[1], event.start);
    appendInteger(fields[2], event.end);
    ExportTimes times = exportTimesOf(store, event.start);
    fields[3] = std::move(times.clock);
    fields[4] = std::move(times.elapsed);
    appendFixed(fields[5], event.seconds(), 1);
    appendFixed(fields[6], event.nadir, 2);
    appendFixed(fields[7], event.areaBelow, 2);
    return fields;
}

void appendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    out.append(width > text.size() ? width - text.size() : 0, ' ');
    out += text;
}

void appendTableLine(std::string& out, const std::array<std::string_view, kColumns>& fields) {
    constexpr std::array<std::size_t, kColumns> kWidths{5, 7, 7, 10, 10, 11, 7, 10};
    for (std::size_t k = 0; k < kColumns; ++k) {
        appendRightAligned(out, fields[k], kWidths[k]);
    }
    out += '\n';
}

}  // namespace

std::string eventsCsvHeader() {
    std::string header = "file";
    for (const std::string_view heading : kHeadings) {
        header += ',';
        header += heading;
    }
    return header + ",threshold\n";
}

void appendEventsCsvRows(std::string& out, std::string_view file, const Recording& store,
                         const Desaturations& found) {
    std::string threshold;
    appendFixed(threshold, found.threshold, 2);
    for (std::size_t k = 0; k < found.events.size(); ++k) {
        appendQuoted(out, file);
        for (const std::string& field : eventFields(k + 1, store, found.events[k])) {
            out += ',';
            out += field;
        }
        out += ',';
        out += threshold;
        out += '\n';
    }
}

std::string formatEventsText(std::string_view file, const Recording& store,
                             const std::optional<Baseline>& baseline, const Desaturations& found) {
    std::string out = "file: ";
    out += file;
    out += "\nrange: ";
    appendInteger(out, found.start);
    out += " to ";
    appendInteger(out, found.end);
    out += " (";
    appendInteger(out, found.end - found.start);
    out += " slots)\n";
    if (baseline) {
        out += "rso2_baseline: " + baselineText(*baseline) + '\n';
    }
    out += "threshold: ";
    appendFixed(out, found.threshold, 2);
    out += " %, events of at least ";
    appendFixed(out, kSlotSeconds * found.minimumSlots, 1);
    out += " s\n";
    if (!found.events.empty()) {
        appendTableLine(out, kHeadings);
    }
    for (std::size_t k = 0; k < found.events.size(); ++k) {
        const std::array<std::string, kColumns> fields = eventFields(k + 1, store, found.events[k]);
        std::array<std::string_view, kColumns> views;
        std::copy(fields.begin(), fields.end(), views.begin());
        appendTableLine(out, views);
    }
    out += "events: ";
    appendInteger(out, static_cast<std::int64_t>(found.events.size()));
    out += ", ";
    appendFixed(out, found.secondsInEvents(), 1);
    out += " s (";
    appendFixed(out, found.secondsInEvents() / 60.0, 1);
    out += " min), area ";
    appendFixed(out, found.areaInEvents, 2);
    out += " %·min; monitored ";
    appendFixed(out, found.monitoredSeconds(), 1);
    out += " s, ";
    appendFixed(out, found.areaPerMonitoredHour(), 2);
    out += " %·min per hour\n";
    return out;
}

}  // namespace nuvisca
