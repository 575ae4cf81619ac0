#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

class RemoveEntryTest : public ControllerTest {
protected:
    // Four recordings of 10, 20, 30 and 40 samples, listed 01 to 04.
    void listFour() {
        QStringList paths;
        for (int k = 0; k < 4; ++k) {
            paths.append(qPath(writeRecording(media.path(), "r" + std::to_string(k) + ".NVD", 9 + k,
                                              0, 10 * (k + 1))));
        }
        controller.addFiles(paths);
    }
};

TEST_F(RemoveEntryTest, RemovingAMiddleRowLoadsTheNextAndKeepsTheNumbers) {
    listFour();
    selectRow(2);
    controller.onClickedButton5();
    EXPECT_EQ(list().tableFilename, (QStringList{u"r0.NVD"_s, u"r1.NVD"_s, u"r3.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"02"_s, u"04"_s}));
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(store->sampleCount, 40);
    EXPECT_EQ(currentName(), QStringLiteral("r3.NVD"));
}

TEST_F(RemoveEntryTest, RemovingTheLastRowLoadsThePreviousOne) {
    listFour();
    window.averageBox()->setCurrentIndex(2);
    selectRow(3);
    controller.onClickedButton5();
    EXPECT_EQ(list().size(), 3);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(store->sampleCount, 30);
    EXPECT_EQ(store->startHour, 11);
    EXPECT_FLOAT_EQ(store->oxhbAvg[0], (0.4f + 0.401f + 0.402f) / 3.0f);  // box "3"
}

TEST_F(RemoveEntryTest, RemovingTheOnlyRowEmptiesTheGraph) {
    controller.addFiles({qPath(writeRecording(media.path(), "only.NVD", 9, 0))});
    selectRow(0);
    ASSERT_EQ(store->sampleCount, 20);
    controller.onClickedButton5();
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
    EXPECT_EQ(controller.tableModel()->rowCount(), 0);
}

TEST_F(RemoveEntryTest, WithoutASelectionNothingChanges) {
    listFour();
    controller.onClickedButton5();
    EXPECT_EQ(list().size(), 4);
}

TEST_F(RemoveEntryTest, AnUnreadableNeighbourEmptiesTheGraphInsteadOfKeepingTheRemovedOne) {
    listFour();
    selectRow(1);
    ASSERT_EQ(store->sampleCount, 20);
    std::filesystem::remove(media.path() / "r2.NVD");
    controller.onClickedButton5();
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
}

TEST_F(RemoveEntryTest, ACsvNeighbourIsLoadedWithTheCsvReader) {
    const std::string csv =
        "RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30\n,,終了時刻,,,10時20分31\n"
        "測定時刻,経過時間,rSO2[%],oxHb[Index],dxHb[Index],toHb[Index]\n"
        "10:20:30,00:00:00,65.30,0.40000,0.20000,0.60000\n"
        "10:20:30,00:00:00,65.40,0.41000,0.20000,0.61000\n";
    writeBytes(media.path() / "z.csv", Bytes(csv.begin(), csv.end()));
    controller.addFiles(
        {qPath(writeRecording(media.path(), "a.NVD", 9, 0)), qPath(media.path() / "z.csv")});
    selectRow(0);
    controller.onClickedButton5();
    EXPECT_EQ(store->sampleCount, 2);
    EXPECT_EQ(store->startYear, 14);
    EXPECT_EQ(currentName(), QStringLiteral("z.csv"));
}

}  // namespace
}  // namespace nuvisca::test
