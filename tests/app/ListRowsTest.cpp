#include <QStatusBar>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

class ListRowsTest : public ControllerTest {
protected:
    // Four recordings of 10, 20, 30 and 40 samples starting at 9 to 12 o'clock, listed 01 to 04.
    ListRowsTest() {
        QStringList paths;
        for (int k = 0; k < 4; ++k) {
            paths.append(onMedia("r" + std::to_string(k) + ".NVD", 9 + k, 0, 10 * (k + 1)));
        }
        controller.addFiles(paths);
    }

    QString status() const { return window.statusBar()->currentMessage(); }
};

// A failed load keeps the shown recording with its own name and row and tells the failure.
// Removing a row shows its neighbour and keeps the numbers.
TEST_F(ListRowsTest, FailedLoadsAndRemovals) {
    std::filesystem::remove(media.file("r0.NVD"));
    selectRow(0);
    EXPECT_EQ((std::array{store->sampleCount, selectedRow()}), (std::array{0, -1}));
    selectRow(1);
    std::filesystem::remove(media.file("r2.NVD"));
    selectRow(2);
    EXPECT_EQ((std::array{store->sampleCount, store->startHour, selectedRow()}),
              (std::array{20, 10, 1}));
    EXPECT_EQ(currentName(), u"r1.NVD"_s);
    EXPECT_TRUE(status().contains(u"r2.NVD"_s));
    writeRecording(media.path(), "r0.NVD", 9, 0, 10);
    writeRecording(media.path(), "r2.NVD", 11, 0, 30);
    window.table()->clearSelection();
    controller.removeSelected();  // nothing selected: nothing removed
    EXPECT_EQ(list().size(), 4);
    selectRow(1);
    controller.removeSelected();
    EXPECT_EQ(names(), (QStringList{u"r0.NVD"_s, u"r2.NVD"_s, u"r3.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"03"_s, u"04"_s}));
    EXPECT_EQ((std::array{selectedRow(), store->sampleCount}), (std::array{1, 30}));
    EXPECT_EQ(currentName(), u"r2.NVD"_s);
    window.averageBox()->setCurrentIndex(2);
    selectRow(2);
    controller.removeSelected();  // the last row: the one before it is shown, averaged
    EXPECT_EQ((std::array{selectedRow(), store->sampleCount}), (std::array{1, 30}));
    EXPECT_FLOAT_EQ(store->averaged[kOxhb][0], (0.4f + 0.401f + 0.402f) / 3.0f);
    // A neighbour that cannot be read empties the graph instead of keeping the removed one.
    std::filesystem::remove(media.file("r2.NVD"));
    selectRow(0);
    controller.removeSelected();
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
    EXPECT_TRUE(status().contains(u"r2.NVD"_s));
    writeRecording(media.path(), "r2.NVD", 11, 0, 30);
    window.table()->clearSelection();
    selectRow(0);
    controller.removeSelected();  // the only row
    EXPECT_EQ(controller.tableModel()->rowCount(), 0);
    EXPECT_EQ(store->sampleCount, 0);
}

// Asked only with an average set: "はい" writes the averages, "いいえ" the measured series.
// A failed write is told and leaves nothing.
TEST_F(ListRowsTest, ExportAsksOnlyWithAnAverageAndItsAnswerChoosesTheSeries) {
    const auto exportAs = [&](const std::string& name) {  // line 2 of the file written
        dialogs.exportPaths.push_back(qPath(desktop.file(name)));
        controller.exportCsv();
        const std::vector<std::string> lines = splitLines(readBytes(desktop.file(name)));
        return lines.size() > 1 ? lines[1] : std::string();
    };
    EXPECT_EQ(exportAs("never.csv"), "");  // nothing shown: no dialog
    ASSERT_EQ(dialogs.exportPaths.size(), 1);
    dialogs.exportPaths.clear();
    selectRow(0);
    EXPECT_EQ(exportAs("plain.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 0);
    window.averageBox()->setCurrentIndex(4);
    dialogs.answerYes = true;
    EXPECT_EQ(exportAs("yes.csv"), "移動平均,5,終了時刻,,,09時01分00");
    dialogs.answerYes = false;
    EXPECT_EQ(exportAs("no.csv"), ",,終了時刻,,,09時01分00");
    EXPECT_EQ(dialogs.questionsAsked, 2);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_EQ(exportAs("missing-folder/out.csv"), "");
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings.constFirst().contains(u"書き出せませんでした"_s));
    EXPECT_FALSE(std::filesystem::exists(desktop.file("missing-folder")));
}

}  // namespace
}  // namespace nuvisca::test
