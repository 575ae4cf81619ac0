#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "formats/CsvWriter.h"

namespace nuvisca::test {
namespace {

// The open dialog: each choice sorted and appended behind the list; listed, invalid, other
// and missing files skipped; CSV exports sorted with the rest; a file deleted since it was
// listed dated 0 when the list changes.
TEST_F(ControllerTest, OpenDialogSortsEachChoiceAndAppendsItBehindTheList) {
    controller.chooseFilesToAdd();  // cancelled
    EXPECT_EQ(store->listSource, ListSource::None);
    const QString ten = onMedia("ten.NVD", 10);
    dialogs.filesToAdd.push_back({onMedia("noon.NVD", 12), onMedia("nine.NVD", 9), ten});
    controller.chooseFilesToAdd();
    EXPECT_EQ(names(), (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(list().tableDate.at(1), u"2013年07月15日 10:00:00"_s);
    EXPECT_EQ(store->listSource, ListSource::OpenDialog);
    writeBytes(media.file("bad.NVD"), Bytes{'Q', 'M'});
    writeBytes(media.file("notes.txt"), Bytes{'h', 'i'});
    ASSERT_TRUE(saveCsvExport(media.file("csv.csv"), *makeRecording(1), ExportSeries::Measured));
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
    controller.importFromMedia();
    EXPECT_EQ(names(),
              (QStringList{u"a.NVD"_s, u"b1.NVD"_s, u"b2.NVD"_s, QString::fromStdString(longest)}));
    EXPECT_EQ(list().filepathList.at(2), qPath(second.file("b2.NVD")));
    EXPECT_EQ(store->listSource, ListSource::RemovableMedia);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_EQ(readBytes(toFileSystemPath(controller.desktopNvdFolder()) / "b2.NVD"),
              readBytes(second.file("b2.NVD")));
    selectRow(3);
    EXPECT_EQ(store->currentFileName.data(), longest);
}

TEST_F(ControllerTest, EachWayOfFillingTheListReplacesTheOtherAndMediaGive256AtMost) {
    controller.addFiles({qPath(writeRecording(desktop.path(), "picked.NVD", 10, 0))});
    addVolume(media.path());
    controller.importFromMedia();  // finds nothing: changes nothing
    EXPECT_EQ(names(), QStringList{u"picked.NVD"_s});
    onMedia("m.NVD", 11);
    controller.importFromMedia();
    EXPECT_EQ(names(), QStringList{u"m.NVD"_s});
    controller.addFiles({qPath(writeRecording(desktop.path(), "p.NVD", 9, 0))});
    EXPECT_EQ(names(), QStringList{u"p.NVD"_s});
    EXPECT_EQ(store->listSource, ListSource::OpenDialog);
    std::filesystem::remove(media.file("m.NVD"));  // its copy stays
    for (int k = 0; k < 300; ++k) {  // the first 256 files found are listed and copied
        onMedia("r" + std::to_string(k) + ".NVD", 10, k % 60, 1);
    }
    controller.importFromMedia();
    EXPECT_EQ(list().tableListNumber.last(), u"256"_s);
    EXPECT_EQ(QDir(controller.desktopNvdFolder()).entryList(QDir::Files).size(), 257);
}

// A user's path through the real main window: import, select, zoom, smooth, drag, remove.
TEST_F(ControllerTest, UserWalkImportSelectZoomSmoothDragAndRemove) {
    EXPECT_EQ(window.zoomBox()->currentText(), u"  1倍"_s);  // no average to begin with
    onMedia("morning.NVD", 9, 0, 4000);
    onMedia("noon.NVD", 12, 0, 3000);
    addVolume(media.path());
    window.show();
    QApplication::processEvents();
    window.graph()->repaint();  // the first draw measures the view
    controller.importFromMedia();
    ASSERT_EQ(controller.tableModel()->rowCount(), 2);
    EXPECT_EQ(controller.tableModel()->cellText(u"TABLE_FNAME"_s, 0), u"morning.NVD"_s);
    EXPECT_EQ(store->averageWindow, 0);
    selectRow(0);
    EXPECT_EQ((std::array{store->sampleCount, view->viewStart}), (std::array{4000, 0}));
    window.zoomBox()->setCurrentIndex(3);
    window.averageBox()->setCurrentIndex(4);
    EXPECT_EQ((std::array{store->zoomIndex, store->averageWindow}), (std::array{3, 4}));
    EXPECT_NE(store->averaged[kOxhb][0],
              store->measured[kOxhb][0]);  // the first slot averages forwards only
    window.graph()->repaint();
    GraphView* graph = window.graph();
    const QPointF from(graph->width() / 2.0, graph->height() / 2.0);
    const std::int32_t span = view->viewEnd - view->viewStart;
    for (int k = 0; k <= 9; ++k) {  // a drag leftwards: later samples
        const auto type = k == 0 ? QEvent::MouseButtonPress
                                 : (k == 9 ? QEvent::MouseButtonRelease : QEvent::MouseMove);
        const QPointF at = from - QPointF(25.0 * std::min(k, 8), 0);
        QMouseEvent event(type, at, graph->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          k == 9 ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(graph, &event);
    }
    EXPECT_GT(view->viewStart, 0);
    EXPECT_EQ(view->viewEnd - view->viewStart, std::max(span, view->viewSpan));
    EXPECT_EQ(view->mouseDownInPlot, 0);
    selectRow(1);
    controller.removeSelected();
    EXPECT_EQ(controller.tableModel()->rowCount(), 1);
    EXPECT_EQ(currentName(), u"morning.NVD"_s);
}

}  // namespace
}  // namespace nuvisca::test
