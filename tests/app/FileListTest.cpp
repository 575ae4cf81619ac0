#include <QDir>
#include <QFile>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"

namespace nuvisca::test {
namespace {

TEST_F(ControllerTest, StartsAtOneTimesZoomWithoutAverage) {
    EXPECT_EQ(window.zoomBox()->count(), 5);
    EXPECT_EQ(window.zoomBox()->itemText(0), u"1/2倍"_s);
    EXPECT_EQ(window.zoomBox()->itemText(4), u"  8倍"_s);
    EXPECT_EQ(window.zoomBox()->currentText(), u"  1倍"_s);
    EXPECT_EQ(window.averageBox()->count(), 30);
    EXPECT_EQ(window.averageBox()->itemText(29), u"30"_s);
    EXPECT_EQ(window.averageBox()->currentText(), u"1"_s);
    EXPECT_EQ((std::array{store->zoomIndex, store->averageWindow}), (std::array{1, 0}));
    EXPECT_EQ(view->traceShown, (std::array<std::int32_t, 4>{0, 0, 1, 1}));
}

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

    // Listed, invalid, other and missing files are skipped; CSV exports sort with the rest.
    writeBytes(media.file("bad.NVD"), Bytes{'Q', 'M'});
    writeBytes(media.file("notes.txt"), Bytes{'h', 'i'});
    controller.addFiles({csvOnMedia("csv.csv", 1), onMedia("eight.nvd", 8), ten,
                         qPath(media.file("bad.NVD")), qPath(media.file("notes.txt")),
                         qPath(media.file("gone.NVD"))});
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s, u"eight.nvd"_s,
                                    u"csv.csv"_s}));
    EXPECT_EQ(list().tableDate.at(4), u"2014年05月12日 10:20:30"_s);
    selectRow(4);
    EXPECT_EQ((std::array{store->sampleCount, store->startYear}), (std::array{1, 14}));

    // A file deleted since it was listed is dated again when the list changes.
    std::filesystem::remove(media.file("ten.NVD"));
    controller.addFiles({onMedia("eleven.NVD", 11)});
    EXPECT_EQ(names().at(1), u"ten.NVD"_s);
    EXPECT_EQ(list().tableDate.at(1), u"2000年00月00日 00:00:00"_s);
}

TEST_F(ControllerTest, AFullListTakesOnlyWhatFits) {
    QStringList first;
    for (int k = 0; k < 250; ++k) {
        first.append(onMedia("a" + std::to_string(k) + ".NVD", 9, k % 60, 1));
    }
    controller.addFiles(first);
    ASSERT_EQ(list().size(), 250);
    QStringList more;
    for (int k = 0; k < 10; ++k) {
        more.append(onMedia("b" + std::to_string(k) + ".NVD", 10, 59 - k, 1));
    }
    controller.addFiles(more);
    ASSERT_EQ(list().size(), 256);
    EXPECT_EQ(names().at(250), u"b5.NVD"_s);  // b0 to b5, sorted
    EXPECT_EQ(names().last(), u"b0.NVD"_s);
    controller.addFiles({onMedia("c.NVD", 11, 0, 1)});
    EXPECT_EQ(list().size(), 256);
}

// Device recordings of every removable volume, sorted together by start time, equal times
// in the order found; lower-case names, sub-folders and other volumes are passed over.
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
    onMedia("\xFF\xFE-\x82\xA0.NVD", 8);  // not UTF-8: the list cannot name it
    writeRecording(second.path(), "b2.NVD", 10, 0);
    writeRecording(fixedDisk.path(), "fixed.NVD", 8, 0);
    std::filesystem::create_directory(media.file("sub"));
    writeRecording(media.file("sub"), "nested.NVD", 7, 0);
    writeBytes(media.file("junk.NVD"), Bytes{'n', 'o'});
    addVolume(media.path());
    addVolume(fixedDisk.path(), false);
    addVolume(second.path());

    controller.onClickedButton1();

    EXPECT_EQ(names(),
              (QStringList{u"a.NVD"_s, u"b1.NVD"_s, u"b2.NVD"_s, QString::fromStdString(longest)}));
    EXPECT_EQ(list().filepathList.at(2), qPath(second.file("b2.NVD")));
    EXPECT_EQ(list().fDate[3], 130715120000);
    EXPECT_EQ(store->listSource, 2);
    EXPECT_EQ(store->sampleCount, 0);  // nothing is loaded until a row is selected
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
    EXPECT_EQ(list().size(), 256);
    EXPECT_EQ(list().tableListNumber.last(), u"256"_s);
    EXPECT_TRUE(std::is_sorted(list().fDate.begin(), list().fDate.begin() + 256));
    EXPECT_EQ(QDir(controller.desktopNvdFolder()).entryList(QDir::Files | QDir::Hidden).size(),
              256);
}

TEST_F(ControllerTest, EachWayOfFillingTheListReplacesAListFilledTheOtherWay) {
    controller.addFiles({qPath(writeRecording(desktop.path(), "picked.NVD", 10, 0))});
    onMedia("lower.nvd", 8);
    addVolume(media.path());
    controller.onClickedButton1();  // finds nothing: changes nothing
    EXPECT_EQ(names(), QStringList{u"picked.NVD"_s});
    EXPECT_EQ(store->listSource, 1);

    onMedia("m.NVD", 11);
    controller.onClickedButton1();
    EXPECT_EQ(names(), QStringList{u"m.NVD"_s});
    EXPECT_EQ(store->listSource, 2);

    controller.addFiles({qPath(writeRecording(desktop.path(), "p.NVD", 9, 0))});
    EXPECT_EQ(names(), QStringList{u"p.NVD"_s});
    EXPECT_EQ(store->listSource, 1);
}

}  // namespace
}  // namespace nuvisca::test
