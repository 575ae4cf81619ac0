#include "print/ReportDrawing.h"

#include <algorithm>
#include <array>

#include "graph/GraphColours.h"
#include "graph/GraphRenderer.h"
#include "graph/SlotClock.h"
#include "print/PlacedPainter.h"
#include "print/PrintPageDrawing.h"

namespace nuvisca {
namespace {

constexpr double kMargin = 48.0;
constexpr double kContentLeft = kMargin;
constexpr double kContentWidth = kReportPageWidth - 2.0 * kMargin;
constexpr double kContentTop = kReportPageHeight - kMargin;
constexpr double kFooterY = 28.0;
constexpr double kFooterFont = 16.0;
constexpr double kContentBottom = kFooterY + kFooterFont + 16.0;

constexpr double kTitleFont = 28.0;
constexpr double kFieldFont = 18.0;
constexpr double kFieldRow = 28.0;
constexpr std::size_t kFieldRows = 3;
constexpr double kSummaryBottom = kContentTop - kTitleFont - 16.0 - kFieldRow * kFieldRows;

constexpr double kOverviewHeight = 380.0;
constexpr double kOverviewBottom = kSummaryBottom - 16.0 - kOverviewHeight;

constexpr double kLineHeight = 22.0;
constexpr double kTableFont = 14.0;
constexpr double kTableTitleFont = 17.0;
constexpr double kColumnGap = 14.0;
constexpr double kShortestName = 120.0;

constexpr double kStripCaptionFont = 18.0;
constexpr double kStripCaption = 26.0;

constexpr Rgba kFieldLabelColour{0.35f, 0.35f, 0.35f, 1.0f};
constexpr Rgba kRuleColour{0.6f, 0.6f, 0.6f, 1.0f};

double tablesTop(std::int32_t page) {
    return page == 0 ? kOverviewBottom - 20.0 : kContentTop;
}

// The text cut, at a character's start, to fit the width with "…" after it.
std::string fitted(Painter& painter, const std::string& text, double fontSize, double width) {
    if (painter.textWidth(text, fontSize) <= width) {
        return text;
    }
    std::string cut = text;
    while (!cut.empty()) {
        while ((static_cast<unsigned char>(cut.back()) & 0xC0u) == 0x80u && cut.size() > 1) {
            cut.pop_back();
        }
        cut.pop_back();  // a character's lead byte, or all of it
        if (painter.textWidth(cut + "…", fontSize) <= width) {
            return cut + "…";
        }
    }
    return "…";
}

void drawField(Painter& painter, PointF at, double labelWidth, double valueWidth,
               const ReportField& field) {
    painter.drawText(at, field.label, {kFieldFont, kFieldLabelColour, std::nullopt});
    painter.drawText({at.x + labelWidth, at.y},
                     fitted(painter, field.value, kFieldFont, valueWidth),
                     {kFieldFont, kBlack, std::nullopt});
}

// The fields in columns of kFieldRows, top to bottom, each column as wide as it needs and the
// room left shared between them; where there is too little, the values are cut alike.
void drawSummary(Painter& painter, const std::vector<ReportField>& summary,
                 const std::string& title) {
    painter.drawText({kContentLeft, kContentTop - kTitleFont},
                     fitted(painter, title, kTitleFont, kContentWidth),
                     {kTitleFont, kBlack, std::nullopt});
    const std::size_t columns = (summary.size() + kFieldRows - 1) / kFieldRows;
    std::vector<double> labelWidths(columns, 0.0);
    std::vector<double> valueWidths(columns, 0.0);
    for (std::size_t k = 0; k < summary.size(); ++k) {
        const std::size_t c = k / kFieldRows;
        labelWidths[c] =
            std::max(labelWidths[c], painter.textWidth(summary[k].label, kFieldFont) + kFieldFont);
        valueWidths[c] = std::max(valueWidths[c], painter.textWidth(summary[k].value, kFieldFont));
    }
    double needed = 0.0;
    double values = 0.0;
    for (std::size_t c = 0; c < columns; ++c) {
        needed += labelWidths[c] + valueWidths[c];
        values += valueWidths[c];
    }
    const double gaps = static_cast<double>(columns > 1 ? columns - 1 : 1);
    const double room = kContentWidth - needed;
    const double gap = room > 0.0 ? room / gaps : 2.0 * kFieldFont;
    const double valueScale =
        room > 0.0 || values <= 0.0 ? 1.0 : std::max(0.0, values - (-room + gap * gaps)) / values;
    double x = kContentLeft;
    for (std::size_t k = 0; k < summary.size(); ++k) {
        const std::size_t c = k / kFieldRows;
        const double y =
            kContentTop - kTitleFont - 16.0 - kFieldRow * static_cast<double>(k % kFieldRows + 1);
        drawField(painter, {x, y}, labelWidths[c], valueWidths[c] * valueScale, summary[k]);
        if (k % kFieldRows == kFieldRows - 1) {
            x += labelWidths[c] + valueWidths[c] * valueScale + gap;
        }
    }
}

// The recording's slots start <= i < end drawn across the place as the print page draws its
// graph, slotsAcross of them filling the plot's width.
void drawGraphIn(Painter& painter, const ViewModel& model, const RectF& place, SlotSpan slots,
                 std::int32_t slotsAcross) {
    GraphViewState view = model.view();
    view.viewWidth = static_cast<float>(place.width);
    view.viewHeight = static_cast<float>(place.height);
    view.viewStart = slots.start;
    view.viewEnd = slots.end;
    view.viewSpan = std::max(slotsAcross, 1);
    view.verticalOffset = 0.0f;
    view.mouseDownInPlot = false;
    // A selection is the reviewer's of the moment; the report stands for the whole case.
    view.selection = {};
    PlacedPainter placed(painter, {place.x, place.y});
    drawGraph(placed, model, view, false, kPrintPageStyle);
}

// Each column as wide as its widest cell; where a table is wider than the page, its name
// columns give up the room it lacks, down to kShortestName.
std::array<std::vector<double>, kReportTableCount> columnWidths(
    Painter& painter, const std::vector<ReportLine>& lines) {
    std::array<std::vector<double>, kReportTableCount> widths;
    for (const ReportLine& line : lines) {
        if (line.kind != LineKind::kHeading && line.kind != LineKind::kFigures) {
            continue;
        }
        std::vector<double>& table = widths[static_cast<std::size_t>(line.table)];
        table.resize(std::max(table.size(), line.cells.size()), 0.0);
        for (std::size_t c = 0; c < line.cells.size(); ++c) {
            table[c] = std::max(table[c], painter.textWidth(line.cells[c], kTableFont));
        }
    }
    for (std::size_t t = 0; t < kReportTableCount; ++t) {
        std::vector<double>& table = widths[t];
        double total = 0.0;
        for (const double width : table) {
            total += width + kColumnGap;
        }
        double excess = total - kColumnGap - kContentWidth;
        for (std::size_t c = 0; c < table.size() && excess > 0.0; ++c) {
            if (isNameColumn(static_cast<ReportTable>(t), c)) {
                const double given = std::min(excess, std::max(0.0, table[c] - kShortestName));
                table[c] -= given;
                excess -= given;
            }
        }
    }
    return widths;
}

void drawTableLine(Painter& painter, const ReportLine& line, const std::vector<double>& widths,
                   double y) {
    const double baseline = y - kLineHeight + 6.0;
    if (line.kind == LineKind::kTitle || line.kind == LineKind::kNote) {
        const double font = line.kind == LineKind::kTitle ? kTableTitleFont : kTableFont;
        painter.drawText({kContentLeft, baseline}, line.cells.empty() ? "" : line.cells[0],
                         {font, kBlack, std::nullopt});
        return;
    }
    double x = kContentLeft;
    const Rgba colour = line.kind == LineKind::kFigures ? kBlack : kFieldLabelColour;
    for (std::size_t c = 0; c < line.cells.size() && c < widths.size(); ++c) {
        const bool name = isNameColumn(line.table, c);
        const std::string text =
            name ? fitted(painter, line.cells[c], kTableFont, widths[c]) : line.cells[c];
        const bool left = name || line.kind == LineKind::kGroupHeading;
        const double textX = left ? x : x + widths[c] - painter.textWidth(text, kTableFont);
        painter.drawText({textX, baseline}, text, {kTableFont, colour, std::nullopt});
        x += widths[c] + kColumnGap;
    }
    if (line.kind == LineKind::kHeading) {
        PolylinePath rule;
        rule.begin({kContentLeft, y - kLineHeight + 3.0});
        rule.lineTo({x - kColumnGap, y - kLineHeight + 3.0});
        painter.strokePath(rule, kRuleColour, 1.0);
    }
}

// The title and headings of the table a page goes on with, the title marked as continued; none
// where the page begins with a table of its own.
std::vector<ReportLine> continuedHeadings(const std::vector<ReportLine>& lines, std::size_t from) {
    std::vector<ReportLine> headings;
    if (from >= lines.size() || from == 0 ||
        (lines[from].kind != LineKind::kFigures && lines[from].kind != LineKind::kNote)) {
        return headings;
    }
    const ReportTable table = lines[from].table;
    for (std::size_t k = 0; k < from; ++k) {
        const ReportLine& line = lines[k];
        if (line.table == table && line.kind != LineKind::kFigures &&
            line.kind != LineKind::kNote && line.kind != LineKind::kGap) {
            headings.push_back(line);
        }
    }
    if (!headings.empty() && headings.front().kind == LineKind::kTitle &&
        !headings.front().cells.empty()) {
        headings.front().cells.front() += "（続き）";
    }
    return headings;
}

void drawTables(Painter& painter, const Report& report, std::int32_t page) {
    const auto& starts = report.plan.firstLineOfPage;
    const auto index = static_cast<std::size_t>(page);
    const std::size_t from = starts[index];
    const std::size_t to = index + 1 < starts.size() ? starts[index + 1] : report.lines.size();
    const auto widths = columnWidths(painter, report.lines);
    double y = tablesTop(page);
    const auto draw = [&](const ReportLine& line) {
        drawTableLine(painter, line, widths[static_cast<std::size_t>(line.table)], y);
        y -= kLineHeight;
    };
    for (const ReportLine& line : continuedHeadings(report.lines, from)) {
        draw(line);
    }
    for (std::size_t k = from; k < to && k < report.lines.size(); ++k) {
        draw(report.lines[k]);
    }
}

void drawStrips(Painter& painter, const ViewModel& model, const Report& report, std::int32_t page) {
    const double height = (kContentTop - kContentBottom) / kStripsPerPage;
    const auto total = report.plan.strips.size();
    for (std::size_t k = 0; k < total; ++k) {
        const ReportStrip& strip = report.plan.strips[k];
        if (strip.page != page) {
            continue;
        }
        const double top = kContentTop - height * strip.row;
        const std::string caption = std::to_string(k + 1) + " / " + std::to_string(total) + "   " +
                                    formatClockSpan(model.recording(), strip.start, strip.end);
        painter.drawText({kContentLeft, top - kStripCaptionFont}, caption,
                         {kStripCaptionFont, kBlack, std::nullopt});
        const RectF place{kContentLeft, top - height + 8.0, kContentWidth,
                          height - kStripCaption - 8.0};
        drawGraphIn(painter, model, place, {strip.start, strip.end}, report.slotsPerStrip);
    }
}

void drawFooter(Painter& painter, const ViewModel& model, std::int32_t page, std::int32_t pages) {
    const TextAttributes attributes{kFooterFont, kFieldLabelColour, std::nullopt};
    const std::string numbers = std::to_string(page + 1) + " / " + std::to_string(pages);
    const double numbersWidth = painter.textWidth(numbers, kFooterFont);
    painter.drawText({kContentLeft, kFooterY},
                     fitted(painter, std::string(printableFileName(model)), kFooterFont,
                            kContentWidth - numbersWidth - kFooterFont),
                     attributes);
    painter.drawText({kContentLeft + kContentWidth - numbersWidth, kFooterY}, numbers, attributes);
}

}  // namespace

std::size_t firstPageLines() {
    return static_cast<std::size_t>((tablesTop(0) - kContentBottom) / kLineHeight);
}

std::size_t laterPageLines() {
    // Less the room for a continued table's title and headings.
    constexpr std::size_t kRepeatedLines = 3;
    return static_cast<std::size_t>((tablesTop(1) - kContentBottom) / kLineHeight) - kRepeatedLines;
}

Report makeReport(const ViewModel& model, std::int32_t minutesPerStrip) {
    Report report;
    report.summary = reportSummary(model);
    report.lines = reportLines(model);
    report.slotsPerStrip = minutesPerStrip * kSlotsPerMinute;
    report.plan = planReport(report.lines.size(), firstPageLines(), laterPageLines(),
                             model.recording().sampleCount, report.slotsPerStrip, kStripsPerPage);
    return report;
}

void drawReportPage(Painter& painter, const ViewModel& model, const Report& report,
                    std::int32_t page) {
    painter.fillRect({0.0, 0.0, kReportPageWidth, kReportPageHeight}, kWhite);
    if (page == 0) {
        drawSummary(painter, report.summary, "症例レポート");
        const std::int32_t count = model.recording().sampleCount;
        drawGraphIn(painter, model, {kContentLeft, kOverviewBottom, kContentWidth, kOverviewHeight},
                    {0, count}, count - 1);
    }
    if (static_cast<std::size_t>(page) < report.plan.firstLineOfPage.size()) {
        drawTables(painter, report, page);
    } else {
        drawStrips(painter, model, report, page);
    }
    drawFooter(painter, model, page, report.plan.pageCount);
}

}  // namespace nuvisca
