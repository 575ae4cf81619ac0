#include <QDir>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "formats/CsvWriter.h"

namespace nuvisca::test {
namespace {

// The open dialog: each choice sorted and appended behind the list; listed, invalid, other
// and missing files skipped; CSV exports sorted with the rest; a file deleted since it was
// listed dated 0 when the list changes.
TEST_F(ControllerTest, OpenDialogSortsEachChoiceAndAppendsItBehindTheList) {
    controller.onClickedButton2();  // cancelled
    EXPECT_EQ(store->listSource, 0);
    const QString ten = onMedia("ten.NVD", 10);
    dialogs.filesToAdd.push_back({onMedia("noon.NVD", 12), onMedia("nine.NVD", 9), ten});
    controller.onClickedButton2();
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(list().tableDate.at(1), u"2013年07月15日 10:00:00"_s);
    EXPECT_EQ(store->listSource, 1);
    writeBytes(media.file("bad.NVD"), Bytes{'Q', 'M'});
    writeBytes(media.file("notes.txt"), Bytes{'h', 'i'});
    ASSERT_TRUE(saveNVDFile(media.file("csv.csv"), *makeRecording(1), ExportSeries::Measured));
    controller.addFiles({qPath(media.file("csv.csv")), onMedia("eight.nvd", 8), ten,
                         qPath(media.file("bad.NVD")), qPath(media.file("notes.txt")),
                         qPath(media.file("gone.NVD"))});
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s, u"eight.nvd"_s,
                                    u"csv.csv"_s}));
    EXPECT_EQ(list().tableDate.at(4), u"2014年05月12日 10:20:30"_s);
    selectRow(4);
    EXPECT_EQ((std::array{store->sampleCount, store->startYear}), (std::array{1, 14}));
    std::filesystem::remove(media.file("ten.NVD"));
    controller.addFiles({onMedia("eleven.NVD", 11)});
    EXPECT_EQ(list().tableDate.at(1), u"2000年00月00日 00:00:00"_s);
}

TEST_F(ControllerTest, AFullListTakesOnlyWhatFits) {
    const auto many = [&](const std::string& prefix, int count, int hour) {
        QStringList paths;
        for (int k = 0; k < count; ++k) {
            paths.append(onMedia(prefix + std::to_string(k) + ".NVD", hour, 59 - k % 60, 1));
        }
        controller.addFiles(paths);
    };
    many("a", 250, 9);
    many("b", 10, 10);
    ASSERT_EQ(list().size(), 256);
    EXPECT_EQ(names().mid(250), (QStringList{u"b5.NVD"_s, u"b4.NVD"_s, u"b3.NVD"_s, u"b2.NVD"_s,
                                             u"b1.NVD"_s, u"b0.NVD"_s}));
    many("c", 1, 11);
    EXPECT_EQ(list().size(), 256);
}

// Device recordings of every removable volume, sorted together by start time; lower-case
// names, sub-folders, fixed disks and names not in UTF-8 are passed over. Nothing is loaded
// until a row is selected; each copy is whole.
TEST_F(ControllerTest, MediaImportListsAndCopiesTheRecordingsOfAllRemovableVolumes) {
    TempDir second;
    TempDir fixedDisk;
    std::string longest = "ab.NVD";
    for (int k = 0; k < 83; ++k) {
        longest.insert(0, "測");  // to 255 bytes, the most a name may hold
    }
    onMedia(longest, 12);
    onMedia("a.NVD", 9);
    onMedia("b1.NVD", 10);
    onMedia("lower.nvd", 8);
    onMedia("\xFF\xFE-\x82\xA0.NVD", 8);
    writeRecording(second.path(), "b2.NVD", 10, 0);
    writeRecording(fixedDisk.path(), "fixed.NVD", 8, 0);
    std::filesystem::create_directory(media.file("sub"));
    writeRecording(media.file("sub"), "nested.NVD", 7, 0);
    addVolume(media.path());
    addVolume(fixedDisk.path(), false);
    addVolume(second.path());
    controller.onClickedButton1();
    EXPECT_EQ(names(),
              (QStringList{u"a.NVD"_s, u"b1.NVD"_s, u"b2.NVD"_s, QString::fromStdString(longest)}));
    EXPECT_EQ(list().filepathList.at(2), qPath(second.file("b2.NVD")));
    EXPECT_EQ((std::array{store->listSource, store->sampleCount}), (std::array{2, 0}));
    for (int k = 0; k < list().size(); ++k) {
        const auto copy = toFileSystemPath(controller.desktopNvdFolder() + u'/' + names().at(k));
        EXPECT_EQ(readBytes(copy), readBytes(toFileSystemPath(list().filepathList.at(k)))) << k;
    }
    selectRow(3);
    EXPECT_EQ(store->currentFileName.data(), longest);
}

TEST_F(ControllerTest, MediaImportTakesTheFirst256FilesFound) {
    for (int k = 0; k < 300; ++k) {
        onMedia("r" + std::to_string(k) + ".NVD", 10, k % 60, 1);
    }
    addVolume(media.path());
    controller.onClickedButton1();
    EXPECT_EQ(list().tableListNumber.size(), 256);
    EXPECT_EQ(list().tableListNumber.last(), u"256"_s);
    EXPECT_EQ(QDir(controller.desktopNvdFolder()).entryList(QDir::Files).size(), 256);
}

TEST_F(ControllerTest, EachWayOfFillingTheListReplacesAListFilledTheOtherWay) {
    controller.addFiles({qPath(writeRecording(desktop.path(), "picked.NVD", 10, 0))});
    addVolume(media.path());
    controller.onClickedButton1();  // finds nothing: changes nothing
    EXPECT_EQ(names(), QStringList{u"picked.NVD"_s});
    onMedia("m.NVD", 11);
    controller.onClickedButton1();
    EXPECT_EQ(names(), QStringList{u"m.NVD"_s});
    controller.addFiles({qPath(writeRecording(desktop.path(), "p.NVD", 9, 0))});
    EXPECT_EQ(names(), QStringList{u"p.NVD"_s});
    EXPECT_EQ(store->listSource, 1);
}

}  // namespace
}  // namespace nuvisca::test
