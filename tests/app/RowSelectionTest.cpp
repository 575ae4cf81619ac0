#include <QStatusBar>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

TEST_F(ControllerTest, SelectingARowLoadsItsRecordingAndName) {
    const auto early = writeRecording(media.path(), "early.NVD", 9, 0, 10);
    const auto late = writeRecording(media.path(), "late.nvd", 11, 0, 30);
    controller.addFiles({qPath(late), qPath(early)});
    selectRow(1);
    EXPECT_EQ(store->sampleCount, 30);
    EXPECT_EQ(store->startHour, 11);
    EXPECT_EQ(currentName(), QStringLiteral("late.nvd"));
    selectRow(0);
    EXPECT_EQ(store->sampleCount, 10);
    EXPECT_EQ(currentName(), QStringLiteral("early.NVD"));
}

TEST_F(ControllerTest, AFailedLoadKeepsTheShownRecordingWithItsOwnNameAndRow) {
    const auto good = writeRecording(media.path(), "good.NVD", 9, 0, 10);
    const auto doomed = writeRecording(media.path(), "doomed.NVD", 10, 0, 30);
    controller.addFiles({qPath(good), qPath(doomed)});
    selectRow(0);
    ASSERT_EQ(store->sampleCount, 10);
    std::filesystem::remove(doomed);

    selectRow(1);
    EXPECT_EQ(store->sampleCount, 10);
    EXPECT_EQ(store->startHour, 9);
    EXPECT_EQ(currentName(), QStringLiteral("good.NVD"));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("doomed.NVD")));

    writeRecording(media.path(), "doomed.NVD", 10, 0, 30);  // back again
    selectRow(1);
    EXPECT_EQ(store->sampleCount, 30);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
}

TEST_F(ControllerTest, AFailedFirstLoadLeavesNothingSelected) {
    const auto doomed = writeRecording(media.path(), "doomed.NVD", 10, 0);
    controller.addFiles({qPath(doomed)});
    std::filesystem::remove(doomed);
    selectRow(0);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_TRUE(currentName().isEmpty());
}

}  // namespace
}  // namespace nuvisca::test
