#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "graph/ViewModel.h"
#include "store/Markers.h"

namespace nuvisca {

// A label and its value in the report's summary.
struct ReportField {
    std::string label;
    std::string value;
};

// The file, the device, the times and the review's settings, in reading order.
std::vector<ReportField> reportSummary(const ViewModel& model);

// "開始 – 麻酔導入": a phase by the labels of the markers it lies between.
std::string phaseName(const Phase& phase);

enum class ReportTable : std::size_t { kRso2Statistics, kIndexStatistics, kEvents };
inline constexpr std::size_t kReportTableCount = 3;

enum class LineKind {
    kTitle,         // a table's title, one cell
    kGroupHeading,  // names over groups of columns, each left-aligned in its column
    kHeading,
    kFigures,
    kNote,  // one cell across the table
    kGap,   // empty, between the tables
};

// One line of the report's tables: the cells of its table's columns.
struct ReportLine {
    LineKind kind = LineKind::kFigures;
    ReportTable table = ReportTable::kRso2Statistics;
    std::vector<std::string> cells;
};

// Whether a column holds names, left-aligned and cut where the table is too wide, rather than
// figures, right-aligned.
bool isNameColumn(ReportTable table, std::size_t column);

// The statistics of the whole recording and of each phase its markers cut it into, as the
// statistics panel words them: rSO2 with its desaturation, then the desaturation events as the
// event list shows them, with their sums, then the haemoglobin indices.
std::vector<ReportLine> reportLines(const ViewModel& model);

}  // namespace nuvisca
