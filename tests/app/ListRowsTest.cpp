#include "ControllerFixture.h"
#include "formats/EdfReadBack.h"

namespace nuvisca::test {
namespace {

class ListRowsTest : public ControllerTest {
protected:
    // Four recordings of 10, 20, 30 and 40 samples starting at 9 to 12 o'clock.
    ListRowsTest() {
        QStringList paths;
        for (int k = 0; k < 4; ++k) {
            paths.append(onMedia(numbered("r", k), 9 + k, 0, 10 * (k + 1)));
        }
        controller.addFiles(paths);
    }

    // The shown recording by its name, row and length, averaged over the window of "2".
    void expectShown(const QString& name, int samples) const {
        EXPECT_EQ(currentName(), name);
        EXPECT_EQ(names().value(selectedRow()), name);
        EXPECT_EQ(store->sampleCount, samples);
        const auto& oxhb = store->measured[kOxhb];
        EXPECT_FLOAT_EQ(store->averaged[kOxhb][0], (oxhb[0] + oxhb[1]) / 2.0f);
    }
};

// A failed load keeps the shown recording with its own name and row and tells the failure.
// Removing a row shows its neighbour and keeps the numbers. The averages follow every load.
TEST_F(ListRowsTest, SelectionsRemovalsAndFailedLoads) {
    selectRow(1);
    window.averageBox()->setCurrentIndex(1);
    expectShown(u"r1.NVD"_s, 20);
    std::filesystem::remove(media.file("r2.NVD"));
    selectRow(2);
    expectShown(u"r1.NVD"_s, 20);
    EXPECT_TRUE(status().contains(u"r2.NVD"_s));
    selectRow(3);
    expectShown(u"r3.NVD"_s, 40);
    writeRecording(media.path(), "r2.NVD", 11, 0, 30);
    window.table()->clearSelection();
    controller.removeSelected();  // nothing selected: nothing removed
    EXPECT_EQ(names().size(), 4);
    selectRow(1);
    controller.removeSelected();
    EXPECT_EQ(names(), (QStringList{u"r0.NVD"_s, u"r2.NVD"_s, u"r3.NVD"_s}));
    EXPECT_EQ(column(&ListedFile::number), (QStringList{u"01"_s, u"03"_s, u"04"_s}));
    expectShown(u"r2.NVD"_s, 30);
    // A neighbour that cannot be read empties the graph instead of keeping the removed one.
    std::filesystem::remove(media.file("r3.NVD"));
    controller.removeSelected();
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
    controller.removeSelected();  // the last row: the one before it is shown
    expectShown(u"r0.NVD"_s, 10);
    controller.removeSelected();  // the only row
    EXPECT_EQ((std::array{controller.tableModel()->rowCount(), store->sampleCount}),
              (std::array{0, 0}));
}

// Nothing shown: no dialog. Asked only with an average set: "はい" writes the averages,
// "いいえ" the measured series. A bare EDF+ name gets ".edf", ".bdf" chooses BDF+. A missing
// folder and a refused recording are told and leave the old file whole.
TEST_F(ListRowsTest, ExportsAskOnlyWithAnAverageAndTheAnswerChoosesTheSeries) {
    using Export = void (ViewerController::*)();
    const Export csv = &ViewerController::exportCsv, edf = &ViewerController::exportEdf;
    const auto exportAs = [&](const std::string& name,
                              Export action = &ViewerController::exportCsv) {
        dialogs.exportPath = qPath(desktop.file(name));
        (controller.*action)();
        const std::vector<std::string> lines = splitLines(readBytes(desktop.file(name)));
        return lines.size() > 1 ? lines[1] : std::string();  // a CSV file's line 2
    };
    for (const Export action : {csv, edf}) {
        exportAs("never", action);
        EXPECT_FALSE(std::exchange(dialogs.exportPath, {}).isEmpty());
    }
    selectRow(0);
    EXPECT_EQ(exportAs("plain.csv"), ",,終了時刻,,,09時01分00");
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    EXPECT_EQ(exportAs("yes.csv"), "移動平均,5,終了時刻,,,09時01分00");
    for (const auto& [name, written, type] :
         {std::tuple("avg", "avg.edf", EDFLIB_FILETYPE_EDFPLUS),
          std::tuple("b.bdf", "b.bdf", EDFLIB_FILETYPE_BDFPLUS)}) {
        exportAs(name, edf);
        const ReadBack file(desktop.file(written));
        EXPECT_EQ(std::tuple(file.header.filetype, file.header.edfsignals), std::tuple(type, 4));
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_NEAR(file.physical[1].at(i), store->averaged[kOxhb][i], 1e-6) << i;
        }
        EXPECT_TRUE(status().contains(QString::fromUtf8(written)));
    }
    EXPECT_EQ(dialogs.proposedExport, qPath(desktop.file("r0.edf")));
    dialogs.answerYes = false;
    EXPECT_EQ(exportAs("no.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 4);  // none without an average
    writeText(desktop.file("old.edf"), "keep");
    EXPECT_EQ(exportAs("missing-folder/out.csv"), "");
    store->startYear = 85;
    exportAs("old.edf", edf);
    EXPECT_EQ(readBytes(desktop.file("old.edf")), "keep");
    ASSERT_EQ(dialogs.warnings.size(), 2);
    EXPECT_TRUE(
        dialogs.warnings[0].endsWith(u"（No such file or directory）。"
                                     u"保存先のフォルダと空き容量を確かめてください。"_s))
        << dialogs.warnings[0].toStdString();
    EXPECT_TRUE(dialogs.warnings[1].contains(u"2085"_s)) << dialogs.warnings[1].toStdString();
}

}  // namespace
}  // namespace nuvisca::test
