#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

std::string csvExport(int hour) {
    return "RM27,ID 0123456789012,測定日時,2014年,05月12日," + std::to_string(hour) +
           "時20分30\n,,終了時刻,,,23時00分00\n"
           "測定時刻,経過時間,rSO2[%],oxHb[Index],dxHb[Index],toHb[Index]\n" +
           std::to_string(hour) + ":20:30,00:00:00,65.30,0.40000,0.20000,0.60000\n";
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    writeBytes(path, Bytes(text.begin(), text.end()));
}

TEST_F(ControllerTest, FirstUseListsTheChosenFilesInStartOrder) {
    const auto noon = writeRecording(media.path(), "noon.NVD", 12, 0);
    const auto nine = writeRecording(media.path(), "nine.NVD", 9, 0);
    const auto ten = writeRecording(media.path(), "ten.NVD", 10, 0);
    dialogs.filesToAdd.push_back({qPath(noon), qPath(nine), qPath(ten)});
    controller.onClickedButton2();
    EXPECT_EQ(list().tableFilename, (QStringList{u"nine.NVD"_s, u"ten.NVD"_s, u"noon.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(store->listSource, 1);
}

TEST_F(ControllerTest, CancellingTheOpenDialogChangesNothing) {
    controller.onClickedButton2();
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(store->listSource, 0);
}

TEST_F(ControllerTest, LaterAdditionsAreSortedAmongThemselvesBehindTheOldEntries) {
    const auto ten = writeRecording(media.path(), "ten.NVD", 10, 0);
    controller.addFiles({qPath(ten)});
    const auto eleven = writeRecording(media.path(), "eleven.NVD", 11, 0);
    const auto eight = writeRecording(media.path(), "eight.NVD", 8, 0);
    controller.addFiles({qPath(eleven), qPath(ten), qPath(eight)});
    EXPECT_EQ(list().tableFilename, (QStringList{u"ten.NVD"_s, u"eight.NVD"_s, u"eleven.NVD"_s}));
}

TEST_F(ControllerTest, AlreadyListedAndInvalidFilesAreSkipped) {
    const auto ten = writeRecording(media.path(), "ten.NVD", 10, 0);
    controller.addFiles({qPath(ten)});
    writeBytes(media.path() / "bad.NVD", Bytes{'Q', 'M'});
    writeText(media.path() / "notes.txt", "hello");
    controller.addFiles({qPath(ten), qPath(media.path() / "bad.NVD"),
                         qPath(media.path() / "notes.txt"), qPath(media.path() / "gone.NVD")});
    EXPECT_EQ(list().size(), 1);
}

TEST_F(ControllerTest, AFullListTakesOnlyWhatFits) {
    QStringList first;
    for (int k = 0; k < 250; ++k) {
        first.append(
            qPath(writeRecording(media.path(), "a" + std::to_string(k) + ".NVD", 9, k % 60, 1)));
    }
    controller.addFiles(first);
    ASSERT_EQ(list().size(), 250);
    QStringList more;
    for (int k = 0; k < 10; ++k) {
        more.append(
            qPath(writeRecording(media.path(), "b" + std::to_string(k) + ".NVD", 10, 59 - k, 1)));
    }
    controller.addFiles(more);
    ASSERT_EQ(list().size(), 256);
    EXPECT_EQ(list().tableFilename.last(), QStringLiteral("b0.NVD"));  // b0..b5, sorted
    EXPECT_EQ(list().tableFilename.at(250), QStringLiteral("b5.NVD"));
    controller.addFiles({qPath(writeRecording(media.path(), "c.NVD", 11, 0, 1))});
    EXPECT_EQ(list().size(), 256);
}

TEST_F(ControllerTest, AListedFileDeletedSinceShowsAZeroDate) {
    const auto ten = writeRecording(media.path(), "ten.NVD", 10, 0);
    controller.addFiles({qPath(ten)});
    std::filesystem::remove(ten);
    controller.addFiles({qPath(writeRecording(media.path(), "eleven.NVD", 11, 0))});
    EXPECT_EQ(list().tableFilename, (QStringList{u"ten.NVD"_s, u"eleven.NVD"_s}));
    EXPECT_EQ(list().tableDate.at(0), QStringLiteral("2000年00月00日 00:00:00"));
    EXPECT_EQ(list().fDate[0], 0);
}

TEST_F(ControllerTest, DeviceRecordingsAndCsvExportsAreSortedTogether) {
    const auto nine = writeRecording(media.path(), "nine.NVD", 9, 0);
    const auto noon = writeRecording(media.path(), "noon.nvd", 12, 0);
    writeText(media.path() / "ten.csv", csvExport(10));
    controller.addFiles({qPath(noon), qPath(media.path() / "ten.csv"), qPath(nine)});
    EXPECT_EQ(list().tableFilename, (QStringList{u"nine.NVD"_s, u"noon.nvd"_s, u"ten.csv"_s}));
    EXPECT_EQ(list().tableDate.at(2), QStringLiteral("2014年05月12日 10:20:30"));

    selectRow(2);
    EXPECT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->startYear, 14);
}

TEST_F(ControllerTest, ChoosingFilesReplacesAListImportedFromMedia) {
    writeRecording(media.path(), "m.NVD", 11, 0);
    addVolume(media.path());
    controller.onClickedButton1();
    ASSERT_EQ(store->listSource, 2);
    controller.addFiles({qPath(writeRecording(desktop.path(), "p.NVD", 9, 0))});
    EXPECT_EQ(list().tableFilename, QStringList{u"p.NVD"_s});
    EXPECT_EQ(store->listSource, 1);
}

}  // namespace
}  // namespace nuvisca::test
