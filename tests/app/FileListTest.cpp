#include <algorithm>

#include "ControllerFixture.h"
#include "formats/CsvWriter.h"
#include "support/HostileFiles.h"

namespace nuvisca::test {
namespace {

// The open dialog: each choice sorted and appended behind the list, one row per file however
// often it is named, its full path as tooltip; other, missing and invalid files skipped,
// counted and the first named; CSV exports sorted with the rest. When the list changes the
// shown row stays selected and a file deleted since it was listed is dated 0.
TEST_F(ControllerTest, OpenDialogSortsEachChoiceAndAppendsItBehindTheList) {
    const QString ten = onMedia("ten.NVD", 10);
    writeBytes(media.file("notes.txt"), Bytes{'h', 'i'});
    dialogs.filesToAdd = {onMedia("noon.NVD", 12), onMedia("nine.NVD", 9), ten, ten,
                          qPath(media.file("notes.txt"))};
    controller.chooseFilesToAdd();
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s}));
    EXPECT_EQ(
        status(),
        u"3 件のファイルを追加しました。「notes.txt」は記録ファイルではないため読み飛ばしました。"_s);
    EXPECT_EQ(controller.tableModel()->index(1, 2).data().toString(), u"2013年07月15日 10:00:00"_s);
    EXPECT_EQ(controller.tableModel()->index(1, 1).data(Qt::ToolTipRole).toString(), ten);
    writeBytes(media.file("bad.NVD"), Bytes{'Q', 'M'});
    ASSERT_TRUE(saveCsvExport(media.file("csv.csv"), *makeRecording(1), nullptr));
    controller.addFiles({qPath(media.file("csv.csv")), onMedia("eight.nvd", 8), ten,
                         qPath(media.file("bad.NVD")), qPath(media.file("x.csv"))});
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s, u"eight.nvd"_s,
                                    u"csv.csv"_s}));
    EXPECT_EQ(
        status(),
        u"2 件のファイルを追加しました。「bad.NVD」など 2 件は記録ファイルではないため読み飛ばしました。"_s);
    EXPECT_EQ(column(&ListedFile::date).at(4), u"2014年05月12日 10:20:30"_s);
    selectRow(4);
    EXPECT_EQ((std::array{store->sampleCount, store->startYear}), (std::array{1, 14}));
    std::filesystem::remove(media.file("ten.NVD"));
    controller.addFiles({onMedia("eleven.NVD", 11)});
    EXPECT_EQ(column(&ListedFile::date).at(1), u"2000年00月00日 00:00:00"_s);
    EXPECT_EQ(selectedRow(), 4);
}

// 250 files over 60 start times, then 10 more: equal start times keep the order in which
// they were chosen, and only what fits is taken.
TEST_F(ControllerTest, AFullListTakesOnlyWhatFitsAndEqualStartTimesKeepTheirOrder) {
    const auto many = [&](const std::string& prefix, int count, int hour) {
        QStringList paths;
        for (int k = 0; k < count; ++k) {
            paths.append(onMedia(numbered(prefix, k), hour, 59 - k % 60, 1));
        }
        controller.addFiles(paths);
    };
    many("a", 250, 9);
    EXPECT_EQ(names().first(5), (QStringList{u"a59.NVD"_s, u"a119.NVD"_s, u"a179.NVD"_s,
                                             u"a239.NVD"_s, u"a58.NVD"_s}));
    many("b", 10, 10);
    EXPECT_EQ(names().mid(250), (QStringList{u"b5.NVD"_s, u"b4.NVD"_s, u"b3.NVD"_s, u"b2.NVD"_s,
                                             u"b1.NVD"_s, u"b0.NVD"_s}));
}

// Huge and odd files named on the command line: those that can be read are listed and load,
// those too large to be exports are named; one that grows past the bound once listed is
// refused as too large and the shown recording stays.
TEST_F(ControllerTest, HugeFilesAreListedOrNamedAndALoadPastTheBoundIsRefused) {
    QStringList paths{onMedia("good.NVD", 9)};
    QStringList readable{u"good.NVD"_s};
    for (const auto& [path, canRead] : writeHostileFiles(media.path())) {
        paths.append(qPath(path));
        readable.append(canRead ? qPath(path.filename()) : QString());
    }
    controller.addFiles(paths);
    readable.removeAll(QString());
    EXPECT_TRUE(std::ranges::is_permutation(names(), readable)) << names().join(u' ').toStdString();
    EXPECT_TRUE(status().endsWith(u"件はCSV書き出しファイルとしては大きすぎます。"_s))
        << status().toStdString();
    for (int row = 0; row < names().size(); ++row) {
        selectRow(row);
        EXPECT_EQ(currentName(), names().at(row));
    }
    std::filesystem::resize_file(media.file("line.csv"), kCsvSizeLimit + 1);
    selectRow(static_cast<int>(names().indexOf(u"good.NVD"_s)));
    selectRow(static_cast<int>(names().indexOf(u"line.csv"_s)));
    EXPECT_EQ(currentName(), u"good.NVD"_s);
    EXPECT_EQ(
        status(),
        u"「line.csv」はCSV書き出しファイルとしては大きすぎます。表示中の記録はそのままです。"_s);
}

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
        EXPECT_FLOAT_EQ(viewModel.averaged()->values[kOxhb][0], (oxhb[0] + oxhb[1]) / 2.0f);
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

}  // namespace
}  // namespace nuvisca::test
