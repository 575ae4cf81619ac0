#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/Utf8Text.h"
#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/ReviewMarks.h"
#include "print/ReportDrawing.h"

namespace nuvisca::test {
namespace {

// Two hours from 10:00: rSO2 70, then 40 between the markers, then 60; a one-minute baseline
// (70) and a 20 % drop make the effective threshold 56, so only the middle phase desaturates.
struct ReportFixture : GraphFixture {
    ReportFixture() : GraphFixture(14400) {
        std::fill(store->measured[kRso2].begin() + 3000, store->measured[kRso2].begin() + 6000,
                  40.0f);
        std::fill(store->measured[kRso2].begin() + 6000, store->measured[kRso2].begin() + 14400,
                  60.0f);
        model.setRecording(store);
        model.setFileName("case.NVD");
        model.addMarker({6000, 0, "執刀開始"});
        model.addMarker({3000, 0, "麻酔導入"});
        model.setBaseline(firstMinutesBaseline(*store, nullptr, 1));
    }

    std::vector<std::vector<std::string>> cellsOf(LineKind kind, ReportTable table) const {
        std::vector<std::vector<std::string>> found;
        for (const ReportLine& line : reportLines(model)) {
            if (line.kind == kind && line.table == table) {
                found.push_back(line.cells);
            }
        }
        return found;
    }
};

TEST(ReportContent, SummaryNamesTheBaselineAndEveryThreshold) {
    ReportFixture f;
    std::vector<std::string> fields;
    for (const ReportField& field : reportSummary(f.model)) {
        fields.push_back(field.label + "=" + field.value);
    }
    EXPECT_EQ(fields,
              (std::vector<std::string>{
                  "ファイル=case.NVD", "機器ID=—", "測定日=2024年05月14日",
                  "開始・終了=10:00:00–12:00:00", "記録時間=2時間00分00秒",
                  "監視時間=2時間00分00秒", "移動平均=なし", "ベースライン=70.00 %（最初の 1 分）",
                  "閾値=絶対 50.0 %  相対低下 20.0 %（56.0 %）  有効 56.0 %"}));
    f.model.setAverageWindow(4);
    f.model.setBaseline(std::nullopt);
    EXPECT_EQ(reportSummary(f.model)[6].value, "移動平均 5");
    EXPECT_EQ(reportSummary(f.model)[8].value, "絶対 50.0 %  有効 50.0 %");
}

// The whole recording, then each phase named by its markers; the figures of each are its own.
TEST(ReportContent, StatisticsRowsPerPhaseAndEventsWithTheirPhase) {
    ReportFixture f;
    const auto rows = f.cellsOf(LineKind::kFigures, ReportTable::kRso2Statistics);
    ASSERT_EQ(rows.size(), 4u);
    const auto column = [&](std::size_t c) {
        std::vector<std::string> cells;
        for (const auto& row : rows) {
            cells.push_back(row.at(c));
        }
        return cells;
    };
    EXPECT_EQ(column(0), (std::vector<std::string>{"全体", "開始 – 麻酔導入", "麻酔導入 – 執刀開始",
                                                   "執刀開始 – 終了"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"10:00:00–12:00:00", "10:00:00–10:25:00",
                                                   "10:25:00–10:50:00", "10:50:00–12:00:00"}));
    EXPECT_EQ(column(4), (std::vector<std::string>{"57.92", "70.00", "40.00", "60.00"}));  // mean
    EXPECT_EQ(column(rows[0].size() - 3),
              (std::vector<std::string>{"1500.0 s", "0.0 s", "1500.0 s", "0.0 s"}));
    EXPECT_EQ(column(rows[0].size() - 1), (std::vector<std::string>{"1", "0", "1", "0"}));
    const auto indexes = f.cellsOf(LineKind::kFigures, ReportTable::kIndexStatistics);
    ASSERT_EQ(indexes.size(), 4u);
    EXPECT_EQ(indexes[2],
              (std::vector<std::string>{"麻酔導入 – 執刀開始", "3000", "0.30000", "0.30000",
                                        "0.30000", "3000", "0.20000", "0.20000", "0.20000", "3000",
                                        "0.50000", "0.50000", "0.50000"}));

    EXPECT_EQ(f.cellsOf(LineKind::kFigures, ReportTable::kEvents),
              (std::vector<std::vector<std::string>>{{"1", "10:25:00", "1500.0 s", "40.00 %",
                                                      "400.00 %·min", "麻酔導入 – 執刀開始"}}));
    EXPECT_EQ(
        f.cellsOf(LineKind::kNote, ReportTable::kEvents),
        (std::vector<std::vector<std::string>>{{"1 件  1500.0 s  400.00 %·min  200.00 %·min/時"}}));

    // A minimum longer than the one event leaves none.
    f.model.setMinimumSeconds(1500.5);
    EXPECT_TRUE(f.cellsOf(LineKind::kFigures, ReportTable::kEvents).empty());
    EXPECT_EQ(f.cellsOf(LineKind::kTitle, ReportTable::kEvents).at(0).at(0),
              "低下イベント（最短 1500.5 s）");
    f.model.setMinimumSeconds(15.0);

    // Without markers the whole recording stands alone and the events name no phase.
    f.model.restoreKept({}, f.model.review().baseline);
    EXPECT_EQ(f.cellsOf(LineKind::kFigures, ReportTable::kRso2Statistics).size(), 1u);
    EXPECT_EQ(f.cellsOf(LineKind::kFigures, ReportTable::kEvents).at(0).back(), "");
}

std::vector<std::string> textsOf(const RecordingPainter& painter) {
    std::vector<std::string> texts;
    for (const RecordedText& text : painter.texts) {
        texts.push_back(text.text);
    }
    return texts;
}

bool holds(const std::vector<std::string>& texts, const std::string& text) {
    return std::ranges::find(texts, text) != texts.end();
}

// Page 1 with the tables, then the four strips, three on page 2 and one on page 3, each under
// its caption and with its own time axis; every page with the file name and its number. The
// viewer's selection of the moment is not the case's, so no graph shades it.
TEST(ReportContent, PagesCarryTheirStripsAndNumbers) {
    ReportFixture f;
    f.model.setSelection({100, 5000});
    const Report report = makeReport(f.model, 30);
    ASSERT_EQ(report.plan.pageCount, 3);
    std::vector<std::vector<std::string>> pages;
    for (std::int32_t page = 0; page < report.plan.pageCount; ++page) {
        RecordingPainter painter;
        drawReportPage(painter, f.model, report, page);
        pages.push_back(textsOf(painter));
        // Each graph where its place on the page puts it: inside the margins, one frame each.
        for (const RecordedStroke& stroke : painter.strokes) {
            for (const auto& run : stroke.runs) {
                for (const PointF point : run) {
                    EXPECT_TRUE(point.x >= 48.0 && point.x <= kReportPageWidth - 48.0 &&
                                point.y >= 60.0 && point.y <= kReportPageHeight - 48.0)
                        << page << ": " << point.x << "," << point.y;
                }
            }
        }
        EXPECT_EQ(painter.strokesOf(kBlack, 2.0).size(), page == 1 ? 3u : 1u);
        EXPECT_FALSE(std::ranges::any_of(
            painter.fills, [](const auto& fill) { return fill.colour == kSelectionBand; }));
        EXPECT_TRUE(holds(pages.back(), "case.NVD"));
        EXPECT_TRUE(holds(pages.back(), std::to_string(page + 1) + " / 3"));
    }
    EXPECT_TRUE(holds(pages[0], "麻酔導入 – 執刀開始"));
    EXPECT_TRUE(holds(pages[1], "1 / 4   10:00:00–10:30:00"));
    EXPECT_TRUE(holds(pages[1], "3 / 4   11:00:00–11:30:00"));
    EXPECT_TRUE(holds(pages[2], "4 / 4   11:30:00–12:00:00"));
    EXPECT_TRUE(holds(pages[1], "10:05:00"));
    EXPECT_FALSE(holds(pages[2], "10:05:00"));
    EXPECT_TRUE(holds(pages[2], "11:35:00"));
}

// Where the widest table does not fit the page, its name column gives up the room, each name
// cut after a whole character and marked so.
TEST(ReportContent, LongPhaseNamesAreCutToFitThePage) {
    // Every character a font size wide, as the CJK glyphs are.
    struct WidePainter : RecordingPainter {
        double textWidth(std::string_view utf8, double fontSize) override {
            return RecordingPainter::textWidth(utf8, fontSize) / 0.6;
        }
    };
    ReportFixture f;
    std::string label;
    for (int k = 0; k < 40; ++k) {
        label += k % 3 == 0 ? "a" : "術";
    }
    f.model.replaceMarker(0, {3000, 0, label});
    f.model.replaceMarker(1, {6000, 0, label + "b"});
    const std::vector<std::string> names{"開始 – " + label, label + " – " + label + "b",
                                         label + "b – 終了"};
    const Report report = makeReport(f.model, 30);
    WidePainter painter;
    drawReportPage(painter, f.model, report, 0);
    double right = 0.0;
    std::vector<std::string> cut;
    for (const RecordedText& text : painter.texts) {
        if (text.attributes.fontSize != 14.0) {
            continue;  // the tables' font; the graph is as wide as the page
        }
        right = std::max(right, text.at.x + painter.textWidth(text.text, text.attributes.fontSize));
        if (text.text.ends_with("…") && text.text.size() > 20) {
            cut.push_back(text.text.substr(0, text.text.size() - std::string("…").size()));
        }
    }
    EXPECT_LE(right, kReportPageWidth - 48.0);
    // The phases in both statistics tables, and the event's phase.
    EXPECT_EQ(cut.size(), 7u);
    for (const std::string& kept : cut) {
        EXPECT_TRUE(isValidUtf8(kept)) << kept;
        EXPECT_TRUE(std::ranges::any_of(names, [&](const std::string& name) {
            return name.starts_with(kept);
        })) << kept;
    }
}

// Events that do not fit page 1 go on over a page of their own before the strips.
TEST(ReportContent, LongEventListContinuesOnPageTwo) {
    GraphFixture f(14400);
    for (std::int32_t dip = 0; dip < 40; ++dip) {
        std::fill_n(f.store->measured[kRso2].begin() + 200 * dip, 40, 30.0f);
    }
    f.model.setRecording(f.store);
    ASSERT_EQ(f.model.desaturations().events.size(), 40u);
    const Report report = makeReport(f.model, 30);
    ASSERT_EQ(report.plan.firstLineOfPage.size(), 2u);
    EXPECT_EQ(report.plan.pageCount, 4);
    EXPECT_EQ(report.plan.strips.front().page, 2);
    RecordingPainter first;
    drawReportPage(first, f.model, report, 0);
    RecordingPainter second;
    drawReportPage(second, f.model, report, 1);
    // The last event starts at slot 7800.
    EXPECT_TRUE(holds(textsOf(first), "10:00:00"));
    EXPECT_FALSE(holds(textsOf(first), "11:05:00"));
    EXPECT_TRUE(holds(textsOf(second), "11:05:00"));
    // Under the table's title and headings again.
    EXPECT_TRUE(holds(textsOf(second), "低下イベント（最短 15.0 s）（続き）"));
    EXPECT_TRUE(holds(textsOf(second), "持続時間"));
    EXPECT_FALSE(holds(textsOf(second), "統計（有効閾値 50.0 %）（続き）"));
    EXPECT_TRUE(holds(textsOf(second), "40 件  800.0 s  266.67 %·min  133.33 %·min/時"));
}

}  // namespace
}  // namespace nuvisca::test
