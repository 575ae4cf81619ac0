#include <gtest/gtest.h>

#include <QFile>

#include "formats/RecordingFile.h"
#include "graph/ReviewTexts.h"
#include "graph/ViewModel.h"
#include "print/CaseReport.h"
#include "print/PdfProbe.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

// Without spaces, which pdftotext guesses from the glyphs' places.
QString pageText(const QString& path, int page) {
    const QString number = QString::number(page);
    return toolOutput(u"pdftotext"_s, {u"-q"_s, u"-f"_s, number, u"-l"_s, number, path, u"-"_s})
        .normalized(QString::NormalizationForm_KC)
        .remove(u' ');
}

bool holds(const QString& text, const QString& wanted) {
    return text.contains(QString(wanted).remove(u' '));
}

// The two-hour sample (1 h 50 min of slots) in 30-minute strips: page 1 and two pages of
// strips, all drawn as vectors, with the phases between its markers and its events as text.
TEST(CaseReport, TwoHoursMakeThreeVectorPagesWithPhasesAndEvents) {
    ViewModel model;
    model.setRecording(openRecording(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD").recording);
    ASSERT_EQ(model.recording().sampleCount, 13199);
    model.setFileName("two-hours-pause-restart.NVD");
    model.addMarker({2400, 0, "麻酔導入"});
    model.addMarker({6000, 0, "執刀開始"});
    model.setAbsoluteThreshold(65.0);
    ASSERT_FALSE(model.desaturations().events.empty());

    TempDir dir;
    const QString path = QString::fromStdString(dir.file("report.pdf").string());
    std::error_code why;
    ASSERT_TRUE(saveCaseReport(dir.file("report.pdf"), model, 30, why)) << why.message();
    EXPECT_TRUE(toolOutput(u"pdfinfo"_s, {path}).contains(QRegularExpression(u"Pages: +3\n"_s)));
    EXPECT_TRUE(toolOutput(u"pdfinfo"_s, {path}).contains(u"842 x 595 pts (A4)"_s));
    // A header line and its rule: no image in the file.
    EXPECT_EQ(toolOutput(u"pdfimages"_s, {u"-list"_s, path}).count(u'\n'), 2);

    const QString first = pageText(path, 1);
    for (const QString& text : {u"開始 – 麻酔導入"_s, u"麻酔導入 – 執刀開始"_s,
                                u"執刀開始 – 終了"_s, u"有効 65.0 %"_s, u"1 / 3"_s}) {
        EXPECT_TRUE(holds(first, text)) << text.toStdString();
    }
    for (const DesaturationEvent& event : model.desaturations().events) {
        for (const std::string& cell : eventRowTexts(model.recording(), event)) {
            EXPECT_TRUE(holds(first, QString::fromStdString(cell))) << cell;
        }
    }
    const QString strips = pageText(path, 2);
    EXPECT_TRUE(holds(strips, u"1 / 4 09:00:00–09:30:00"_s)) << strips.toStdString();
    EXPECT_TRUE(holds(strips, u"2 / 3"_s));
    EXPECT_TRUE(holds(pageText(path, 3), u"3 / 3"_s));
}

}  // namespace
}  // namespace nuvisca::test
