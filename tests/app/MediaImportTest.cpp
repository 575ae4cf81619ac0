#include <QDir>
#include <QFile>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

class MediaImportTest : public ControllerTest {
protected:
    QString importedCopy(const QString& name) const {
        return controller.desktopNvdFolder() + u'/' + name;
    }
};

TEST_F(MediaImportTest, ListsDeviceRecordingsOfAllRemovableVolumesSortedTogether) {
    TempDir second;
    TempDir fixedDisk;
    writeRecording(media.path(), "c.NVD", 12, 0);
    writeRecording(media.path(), "a.NVD", 9, 0);
    writeRecording(second.path(), "b.NVD", 10, 0);
    writeRecording(fixedDisk.path(), "fixed.NVD", 8, 0);
    writeRecording(media.path(), "lower.nvd", 8, 30);
    std::filesystem::create_directory(media.path() / "sub");
    writeRecording(media.path() / "sub", "nested.NVD", 7, 0);
    writeBytes(media.path() / "junk.NVD", Bytes{'n', 'o', 'p', 'e'});
    addVolume(media.path());
    addVolume(fixedDisk.path(), false);
    addVolume(second.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().tableFilename, (QStringList{u"a.NVD"_s, u"b.NVD"_s, u"c.NVD"_s}));
    EXPECT_EQ(list().tableListNumber, (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(list().tableDate.at(1), QStringLiteral("2013年07月15日 10:00:00"));
    EXPECT_EQ(list().filepathList.at(1), qPath(second.path() / "b.NVD"));
    EXPECT_EQ(list().fDate[2], 130715120000);
    EXPECT_EQ(store->listSource, 2);
    EXPECT_EQ(store->sampleCount, 0);  // nothing is loaded until a row is selected
    for (const QString& name : list().tableFilename) {
        EXPECT_TRUE(QFile::exists(importedCopy(name))) << name.toStdString();
    }
}

TEST_F(MediaImportTest, FindingNothingChangesNothing) {
    const auto listed = writeRecording(desktop.path(), "listed.NVD", 10, 0);
    controller.addFiles({qPath(listed)});
    writeRecording(media.path(), "lower.nvd", 8, 30);
    addVolume(media.path());
    controller.onClickedButton1();
    EXPECT_EQ(list().tableFilename, QStringList{u"listed.NVD"_s});
    EXPECT_EQ(store->listSource, 1);
}

TEST_F(MediaImportTest, TakesTheFirst256FilesFound) {
    for (int k = 0; k < 300; ++k) {
        writeRecording(media.path(), "r" + std::to_string(k) + ".NVD", 10, k % 60, 1);
    }
    addVolume(media.path());
    controller.onClickedButton1();
    EXPECT_EQ(list().size(), 256);
    EXPECT_EQ(list().tableListNumber.last(), QStringLiteral("256"));
    for (int k = 1; k < list().size(); ++k) {
        EXPECT_LE(list().fDate[static_cast<std::size_t>(k - 1)],
                  list().fDate[static_cast<std::size_t>(k)]);
    }
}

TEST_F(MediaImportTest, ReplacesAListFilledWithTheOpenDialog) {
    const auto picked = writeRecording(desktop.path(), "picked.NVD", 10, 0);
    controller.addFiles({qPath(picked)});
    writeRecording(media.path(), "m.NVD", 11, 0);
    addVolume(media.path());
    controller.onClickedButton1();
    EXPECT_EQ(list().tableFilename, QStringList{u"m.NVD"_s});
    EXPECT_EQ(store->listSource, 2);
}

TEST_F(MediaImportTest, NeverOverwritesAnEarlierCopy) {
    writeRecording(media.path(), "m.NVD", 11, 0, 20);
    addVolume(media.path());
    controller.onClickedButton1();
    QFile copy(importedCopy(u"m.NVD"_s));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QByteArray first = copy.readAll();
    copy.close();

    writeRecording(media.path(), "m.NVD", 11, 0, 40);  // changed on the medium
    controller.onClickedButton1();
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), first);
    EXPECT_EQ(QDir(controller.desktopNvdFolder()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(MediaImportTest, EqualStartTimesKeepTheOrderFound) {
    TempDir second;
    writeRecording(media.path(), "x.NVD", 10, 0);
    writeRecording(second.path(), "y.NVD", 10, 0);
    addVolume(media.path());
    addVolume(second.path());
    controller.onClickedButton1();
    EXPECT_EQ(list().tableFilename, (QStringList{u"x.NVD"_s, u"y.NVD"_s}));
}

}  // namespace
}  // namespace nuvisca::test
