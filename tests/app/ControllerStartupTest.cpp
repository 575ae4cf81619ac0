#include <QDir>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

TEST_F(ControllerTest, StartsWithOneTimesZoomAndNoAverage) {
    EXPECT_EQ(window.zoomBox()->count(), 5);
    EXPECT_EQ(window.zoomBox()->itemText(0), QStringLiteral("1/2倍"));
    EXPECT_EQ(window.zoomBox()->itemText(4), QStringLiteral("  8倍"));
    EXPECT_EQ(window.zoomBox()->currentText(), QStringLiteral("  1倍"));
    EXPECT_EQ(store->zoomIndex, 1);

    EXPECT_EQ(window.averageBox()->count(), 30);
    EXPECT_EQ(window.averageBox()->itemText(29), QStringLiteral("30"));
    EXPECT_EQ(window.averageBox()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(store->averageWindow, 0);

    EXPECT_EQ(store->sampleCapacity, 76800u);
    EXPECT_EQ(store->screenWidth, 1600.0f);
    EXPECT_EQ(view->traceShown, (std::array<std::int32_t, 4>{0, 0, 1, 1}));
    EXPECT_TRUE(window.titleLabel()->text().contains(QStringLiteral("nuvisca </span> Viewer")));
}

TEST_F(ControllerTest, CreatesTheDesktopImportFolder) {
    EXPECT_TRUE(controller.desktopFolderCreated());
    EXPECT_EQ(controller.desktopNvdFolder(), qPath(desktop.path()) + u"/nuviscaViewer_NVDFiles"_s);
    EXPECT_TRUE(QDir(controller.desktopNvdFolder()).exists());
}

TEST_F(ControllerTest, UnknownColumnIdentifierShowsEmptyCells) {
    const auto path = writeRecording(media.path(), "a.NVD", 10, 0);
    controller.addFiles({qPath(path)});
    const FileListModel* model = controller.tableModel();
    EXPECT_EQ(model->cellText(QStringLiteral("TABLE_FNAME"), 0), QStringLiteral("a.NVD"));
    EXPECT_EQ(model->cellText(QStringLiteral("TABLE_LIST_NUMBER"), 0), QStringLiteral("01"));
    EXPECT_EQ(model->cellText(QStringLiteral("TABLE_FDATE"), 0),
              QStringLiteral("2013年07月15日 10:00:00"));
    EXPECT_TRUE(model->cellText(QStringLiteral("OTHER"), 0).isEmpty());
    EXPECT_TRUE(model->cellText(QStringLiteral("TABLE_FNAME"), 1).isEmpty());
}

TEST_F(ControllerTest, ZoomAndAverageBoxesChangeTheSettings) {
    window.zoomBox()->setCurrentIndex(4);
    EXPECT_EQ(store->zoomIndex, 4);
    window.averageBox()->setCurrentIndex(1);  // "2": nothing loaded, nothing computed
    EXPECT_EQ(store->averageWindow, 1);

    const auto path = writeRecording(media.path(), "a.NVD", 10, 0);
    controller.addFiles({qPath(path)});
    selectRow(0);
    ASSERT_EQ(store->sampleCount, 20);
    EXPECT_FLOAT_EQ(store->oxhbAvg[0], (0.4f + 0.401f) / 2.0f);  // averaged right after the load
    window.averageBox()->setCurrentIndex(0);
    EXPECT_EQ(store->averageWindow, 0);
    EXPECT_EQ(store->oxhbAvg[1], store->oxhbData[1]);
    EXPECT_EQ(store->tohbAvg[1], store->oxhbData[1] + store->dxhbData[1]);
}

}  // namespace
}  // namespace nuvisca::test
