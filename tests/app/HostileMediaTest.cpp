// Removable media that change under the import, import folders that cannot take the copies,
// odd names and crowded volumes: the import never hangs, never overwrites or truncates a
// file and never leaves a partial copy under a final name.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "support/SmallTmpfs.h"

namespace nuvisca::test {
namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HostileMediaTest : public ControllerTest {
protected:
    // Runs change once the import has listed the files and before it copies them.
    void afterListing(std::function<void()> change) {
        QObject::connect(controller.tableModel(), &QAbstractItemModel::modelReset, &context,
                         [change = std::move(change), done = false]() mutable {
                             if (!done) {
                                 done = true;
                                 change();
                             }
                         });
    }

    QStringList importFolderEntries() const {
        return QDir(controller.desktopNvdFolder())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    // Every entry of the import folder is a whole copy of the file of its name on the medium.
    void expectOnlyWholeCopies(const QStringList& ignored = {}) const {
        for (const QString& name : importFolderEntries()) {
            if (ignored.contains(name)) {
                continue;
            }
            const QString source = qPath(media.path()) + u'/' + name;
            ASSERT_TRUE(QFileInfo::exists(source)) << "stray entry " << name.toStdString();
            EXPECT_EQ(contentsOf(controller.desktopNvdFolder() + u'/' + name), contentsOf(source))
                << name.toStdString();
        }
    }

    QObject context;
};

TEST_F(HostileMediaTest, AVolumeThatVanishesAfterListingIsListedButNothingIsCopied) {
    writeRecording(media.path(), "a.NVD", 9, 0);
    writeRecording(media.path(), "b.NVD", 10, 0);
    addVolume(media.path());
    afterListing([this] { std::filesystem::remove_all(media.path()); });

    controller.onClickedButton1();

    EXPECT_EQ(list().tableFilename, (QStringList{u"a.NVD"_s, u"b.NVD"_s}));
    EXPECT_TRUE(importFolderEntries().isEmpty());
    selectRow(0);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
}

TEST_F(HostileMediaTest, AFileThatTurnsIntoAPipeOrBecomesUnreadableIsNotCopied) {
    const auto pipe = writeRecording(media.path(), "pipe.NVD", 9, 0);
    const auto unreadable = writeRecording(media.path(), "unreadable.NVD", 10, 0);
    writeRecording(media.path(), "plain.NVD", 11, 0);
    addVolume(media.path());
    afterListing([&] {
        std::filesystem::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        std::filesystem::remove(unreadable);
        std::filesystem::create_symlink("/proc/self/mem", unreadable);
    });

    controller.onClickedButton1();  // opening the pipe for reading would block here

    EXPECT_EQ(list().size(), 3);
    EXPECT_EQ(importFolderEntries(), QStringList{u"plain.NVD"_s});
    expectOnlyWholeCopies();
}

TEST_F(HostileMediaTest, AnImportFolderThatCannotBeCreatedTakesNoCopies) {
    const auto desktopFile = media.path() / "Desktop";
    writeBytes(desktopFile, Bytes{'k', 'e', 'e', 'p'});
    nuviscaViewerAppDelegate blocked(*store, *view, {dialogs, volumes, qPath(desktopFile)},
                                     QSizeF(1600, 1000));
    EXPECT_FALSE(blocked.desktopFolderCreated());
    TempDir medium;
    writeRecording(medium.path(), "a.NVD", 9, 0);
    addVolume(medium.path());

    blocked.onClickedButton1();

    EXPECT_EQ(blocked.fileList().tableFilename, QStringList{u"a.NVD"_s});
    EXPECT_EQ(contentsOf(qPath(desktopFile)), QByteArray("keep"));
}

TEST_F(HostileMediaTest, AnImportFolderReplacedByAFileIsLeftAsItIs) {
    const QString folder = controller.desktopNvdFolder();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    writeBytes(toFileSystemPath(folder), Bytes{'k', 'e', 'e', 'p'});
    writeRecording(media.path(), "a.NVD", 9, 0);
    addVolume(media.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 1);
    EXPECT_EQ(contentsOf(folder), QByteArray("keep"));
    EXPECT_EQ(QDir(qPath(desktop.path()))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"nuviscaViewer_NVDFiles"_s});
}

TEST_F(HostileMediaTest, AFullImportFolderHoldsWholeCopiesOnly) {
    const SmallTmpfs disk(toFileSystemPath(controller.desktopNvdFolder()), 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "no privilege to mount a small tmpfs";
    }
    // Each copy takes two or three pages: some fit, the rest must not appear at all.
    for (int k = 0; k < 12; ++k) {
        writeRecording(media.path(), "r" + std::to_string(k) + ".NVD", 9, k, 500 + 37 * k);
    }
    addVolume(media.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 12);
    const QStringList copies = importFolderEntries();
    EXPECT_FALSE(copies.isEmpty());
    EXPECT_LT(copies.size(), 12);
    expectOnlyWholeCopies();
}

TEST_F(HostileMediaTest, EntriesAlreadyBearingTheNamesAreNeitherFollowedNorReplaced) {
    const QString folder = controller.desktopNvdFolder();
    const auto folderPath = toFileSystemPath(folder);
    std::filesystem::create_symlink(desktop.path() / "elsewhere.NVD", folderPath / "link.NVD");
    std::filesystem::create_directory(folderPath / "dir.NVD");
    writeBytes(folderPath / "dir.NVD" / "inside", Bytes{'i'});
    writeBytes(folderPath / "old.NVD", Bytes{'o', 'l', 'd'});
    for (const char* name : {"link.NVD", "dir.NVD", "old.NVD", "new.NVD"}) {
        writeRecording(media.path(), name, 9, 0);
    }
    addVolume(media.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 4);
    EXPECT_FALSE(std::filesystem::exists(desktop.path() / "elsewhere.NVD"));
    EXPECT_TRUE(std::filesystem::is_symlink(folderPath / "link.NVD"));
    EXPECT_EQ(contentsOf(folder + u"/dir.NVD/inside"_s), QByteArray("i"));
    EXPECT_EQ(contentsOf(folder + u"/old.NVD"_s), QByteArray("old"));
    EXPECT_EQ(importFolderEntries(),
              (QStringList{u"dir.NVD"_s, u"link.NVD"_s, u"new.NVD"_s, u"old.NVD"_s}));
    expectOnlyWholeCopies({u"dir.NVD"_s, u"link.NVD"_s, u"old.NVD"_s});
}

TEST_F(HostileMediaTest, OfTenThousandFilesTheFirst256AreListedAndCopied) {
    for (int k = 0; k < 10000; ++k) {
        writeRecording(media.path(), "r" + std::to_string(k) + ".NVD", k / 60 % 24, k % 60, 1);
    }
    addVolume(media.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 256);
    EXPECT_EQ(importFolderEntries().size(), 256);
    expectOnlyWholeCopies();
}

TEST_F(HostileMediaTest, TheLongestNameIsImportedWholeAndOneNotInUtf8IsPassedOver) {
    std::string longest;
    for (int k = 0; k < 83; ++k) {
        longest += "測";
    }
    longest += "ab.NVD";  // 255 bytes, the most a name may hold
    ASSERT_EQ(longest.size(), 255u);
    writeRecording(media.path(), longest, 9, 0);
    // The list holds Unicode text, which cannot name this file: it is left where it is.
    const auto notUtf8 = writeRecording(media.path(), "\xFF\xFE-\x82\xA0.NVD", 10, 0);
    const auto before = std::filesystem::file_size(notUtf8);
    addVolume(media.path());

    controller.onClickedButton1();

    ASSERT_EQ(list().size(), 1);
    EXPECT_EQ(importFolderEntries(), QStringList{QString::fromStdString(longest)});
    expectOnlyWholeCopies();
    EXPECT_EQ(std::filesystem::file_size(notUtf8), before);
    selectRow(0);
    EXPECT_EQ(store->sampleCount, 20);
    EXPECT_EQ(store->currentFileName.data(), longest);
}

}  // namespace
}  // namespace nuvisca::test
