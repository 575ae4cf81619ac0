#include "ControllerFixture.h"
#include "formats/EdfReadBack.h"
#include "print/PdfProbe.h"

namespace nuvisca::test {
namespace {

// Nothing shown: no dialog. Asked only with an average set: "はい" writes the averages,
// "いいえ" the measured series. A bare EDF+ name gets ".edf", ".bdf" chooses BDF+ (both with the
// markers). A missing folder and a refused recording are told and leave the old file whole.
TEST_F(ControllerTest, ExportsAskOnlyWithAnAverageAndTheAnswerChoosesTheSeries) {
    controller.addFiles({onMedia("r0.NVD", 9, 0, 10)});
    using enum WindowAction;
    const auto exportAs = [&](const std::string& name, WindowAction action = ExportCsv) {
        dialogs.exportPath = qPath(desktop.file(name));
        window.action(action)->trigger();
        const std::vector<std::string> lines = splitLines(readBytes(desktop.file(name)));
        return lines.size() > 1 ? lines[1] : std::string();  // a CSV file's line 2
    };
    for (const WindowAction action : {ExportCsv, ExportEdf}) {
        exportAs("never", action);
        EXPECT_FALSE(std::exchange(dialogs.exportPath, {}).isEmpty());
    }
    selectRow(0);
    EXPECT_EQ(exportAs("plain.csv"), ",,終了時刻,,,09時01分00");
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    EXPECT_EQ(exportAs("yes.csv"), "移動平均,5,終了時刻,,,09時01分00");
    viewModel.addMarker({3, 2, "切開"});
    for (const auto& [name, written, type] :
         {std::tuple("avg", "avg.edf", EDFLIB_FILETYPE_EDFPLUS),
          std::tuple("b.bdf", "b.bdf", EDFLIB_FILETYPE_BDFPLUS)}) {
        exportAs(name, ExportEdf);
        const ReadBack file(desktop.file(written));
        EXPECT_EQ(std::tuple(file.header.filetype, file.header.edfsignals), std::tuple(type, 4));
        EXPECT_EQ(file.annotations, (Annotations{{"切開", 3, 2}}));
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_NEAR(file.physical[1].at(i), viewModel.averaged()->values[kOxhb][i], 1e-6) << i;
        }
        EXPECT_TRUE(status().contains(QString::fromUtf8(written)));
    }
    EXPECT_EQ(dialogs.proposedExport, qPath(desktop.file("r0.edf")));
    dialogs.answerYes = false;
    EXPECT_EQ(exportAs("no.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 4);  // none without an average
    writeText(desktop.file("old.edf"), "keep");
    EXPECT_EQ(exportAs("missing-folder/out.csv"), "");
    const std::filesystem::path late = desktop.file("late.NVD");
    NvdBuilder().start(2085, 1, 2, 9, 0, 0).timeStamp(9, 0, 0, 0.7f, 0.4f, 0.2f).writeTo(late);
    controller.addFiles({qPath(late)});
    selectRow(static_cast<int>(names().indexOf(u"late.NVD"_s)));
    ASSERT_EQ(currentName(), u"late.NVD"_s);
    exportAs("old.edf", ExportEdf);
    EXPECT_EQ(readBytes(desktop.file("old.edf")), "keep");
    ASSERT_EQ(dialogs.warnings.size(), 2);
    EXPECT_TRUE(
        dialogs.warnings[0].endsWith(u"（No such file or directory）。"
                                     u"保存先のフォルダと空き容量を確かめてください。"_s))
        << dialogs.warnings[0].toStdString();
    EXPECT_TRUE(dialogs.warnings[1].contains(u"2085"_s)) << dialogs.warnings[1].toStdString();
}

// The report asks no question, proposes NAME-report.pdf, completes a bare name and writes the
// model as shown; a missing folder is told with the reason, as the exports tell it.
TEST_F(ControllerTest, ReportIsTheModelAsShownAndItsFailureIsTold) {
    controller.addFiles({onMedia("r0.NVD", 9, 0, 10)});
    selectRow(0);
    window.averageBox()->setCurrentIndex(4);
    dialogs.exportPath = qPath(desktop.file("case"));
    window.action(WindowAction::ExportReport)->trigger();
    EXPECT_TRUE(dialogs.proposedExport.endsWith(u"/r0-report.pdf"_s) ||
                dialogs.proposedExport == u"r0-report.pdf"_s)
        << dialogs.proposedExport.toStdString();
    EXPECT_EQ(dialogs.questionsAsked, 0);
    const QString text = pdfText(qPath(desktop.file("case.pdf")));
    EXPECT_TRUE(text.contains(u"移動平均 5"_s)) << text.toStdString();
    EXPECT_TRUE(status().contains(u"case.pdf"_s));

    dialogs.exportPath = qPath(desktop.file("missing-folder/case.pdf"));
    window.action(WindowAction::ExportReport)->trigger();
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(
        dialogs.warnings[0].endsWith(u"（No such file or directory）。"
                                     u"保存先のフォルダと空き容量を確かめてください。"_s))
        << dialogs.warnings[0].toStdString();
}

}  // namespace
}  // namespace nuvisca::test
