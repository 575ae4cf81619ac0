// The removable-media import, also from media that change under it and into import folders
// that cannot take the copies: it never hangs, never overwrites or truncates a file and never
// leaves a partial copy under a final name.
#include <sys/stat.h>

#include <QDir>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "formats/NvdReader.h"
#include "support/SmallTmpfs.h"

namespace nuvisca::test {
namespace {

class MediaImportTest : public ControllerTest {
protected:
    std::filesystem::path folder() const { return toFileSystemPath(controller.desktopNvdFolder()); }

    // The import folder's entries; each one not ignored is a whole copy of its namesake on
    // the medium.
    QStringList entriesOfWholeCopies(const QStringList& ignored = {}) const {
        const QStringList entries =
            QDir(controller.desktopNvdFolder())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : entries) {
            EXPECT_TRUE(ignored.contains(name) ||
                        readBytes(folder() / toFileSystemPath(name)) ==
                            readBytes(media.path() / toFileSystemPath(name)))
                << name.toStdString();
        }
        return entries;
    }
};

// Device recordings of every removable volume, sorted together by start time; lower-case
// names, sub-folders, fixed disks and names not in UTF-8 are passed over. Each way of filling
// the list replaces the other; the list names the files on the volumes, not their copies;
// nothing is loaded; the first 256 files found are listed and copied.
TEST_F(MediaImportTest, ListsAndCopiesTheRecordingsOfAllRemovableVolumes) {
    TempDir second;
    TempDir fixedDisk;
    controller.addFiles({qPath(writeRecording(desktop.path(), "picked.NVD", 10, 0))});
    addVolume(media.path());
    addVolume(fixedDisk.path(), false);
    addVolume(second.path());
    controller.importFromMedia();  // finds nothing: changes nothing
    EXPECT_EQ(names(), QStringList{u"picked.NVD"_s});
    onMedia("a.NVD", 9);
    onMedia("b1.NVD", 10);
    onMedia("lower.nvd", 8);
    onMedia("\xFF\xFE-\x82\xA0.NVD", 8);
    writeRecording(second.path(), "b2.NVD", 10, 0);
    writeRecording(fixedDisk.path(), "fixed.NVD", 8, 0);
    std::filesystem::create_directory(media.file("sub"));
    writeRecording(media.file("sub"), "nested.NVD", 7, 0);
    controller.importFromMedia();
    EXPECT_EQ(names(), (QStringList{u"a.NVD"_s, u"b1.NVD"_s, u"b2.NVD"_s}));
    EXPECT_EQ(column(&ListedFile::path).at(2), qPath(second.file("b2.NVD")));
    EXPECT_EQ(store->sampleCount, 0);
    controller.addFiles({qPath(writeRecording(desktop.path(), "p.NVD", 9, 0))});
    EXPECT_EQ(names(), QStringList{u"p.NVD"_s});
    TempDir crowded;
    volumes = {{qPath(crowded.path()), true}};
    for (int k = 0; k < 300; ++k) {
        writeRecording(crowded.path(), numbered("r", k), 10, k % 60, 1);
    }
    controller.importFromMedia();
    EXPECT_EQ(column(&ListedFile::number).last(), u"256"_s);
    EXPECT_EQ(QDir(controller.desktopNvdFolder()).entryList(QDir::Files).size(), 3 + 256);
}

// Between listing and copying a volume vanishes, one file turns into a pipe, another into
// one that cannot be read: all stay listed, none is copied, and opening the pipe would block.
// A device file above the copy bound is listed but not copied, and the status line names it.
TEST_F(MediaImportTest, FilesThatChangeAfterListingOrExceedTheBoundAreNotCopied) {
    TempDir vanishing;
    writeRecording(vanishing.path(), "gone.NVD", 8, 0);
    const auto pipe = writeRecording(media.path(), "pipe.NVD", 9, 0);
    const auto unreadable = writeRecording(media.path(), "unreadable.NVD", 10, 0);
    onMedia("plain.NVD", 11);
    // Nothing larger: without the bound it would be copied whole.
    std::filesystem::resize_file(writeRecording(media.path(), "bound.NVD", 12, 0), kNvdCopyLimit);
    std::filesystem::resize_file(writeRecording(media.path(), "over.NVD", 13, 0),
                                 kNvdCopyLimit + 1);
    addVolume(vanishing.path());
    addVolume(media.path());
    QObject::connect(controller.tableModel(), &QAbstractItemModel::modelReset, [&] {
        std::filesystem::remove_all(vanishing.path());
        std::filesystem::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        std::filesystem::remove(unreadable);
        std::filesystem::create_symlink("/proc/self/mem", unreadable);
    });
    controller.importFromMedia();
    EXPECT_EQ(names().size(), 6);
    EXPECT_EQ(entriesOfWholeCopies(), (QStringList{u"bound.NVD"_s, u"plain.NVD"_s}));
    EXPECT_EQ(status(),
              u"「over.NVD」は記録ファイルとしては大きすぎるため、コピーしませんでした。"_s);
}

// Copies are never made twice and never replace, follow or truncate what bears their names,
// and a full disk holds whole copies only.
TEST_F(MediaImportTest, WhatBearsTheNamesIsKeptAndAFullDiskHoldsWholeCopiesOnly) {
    std::filesystem::create_symlink(desktop.path() / "elsewhere.NVD", folder() / "link.NVD");
    std::filesystem::create_directory(folder() / "dir.NVD");
    writeBytes(folder() / "old.NVD", Bytes{'o', 'l', 'd'});
    for (const char* name : {"link.NVD", "dir.NVD", "old.NVD", "new.NVD"}) {
        onMedia(name, 9);
    }
    addVolume(media.path());
    controller.importFromMedia();
    controller.importFromMedia();
    EXPECT_FALSE(std::filesystem::exists(desktop.path() / "elsewhere.NVD"));
    EXPECT_EQ(readBytes(folder() / "old.NVD"), "old");
    EXPECT_EQ(entriesOfWholeCopies({u"dir.NVD"_s, u"link.NVD"_s, u"old.NVD"_s}),
              (QStringList{u"dir.NVD"_s, u"link.NVD"_s, u"new.NVD"_s, u"old.NVD"_s}));

    std::filesystem::remove_all(folder());
    const SmallTmpfs disk(folder(), 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "no privilege to mount a small tmpfs";
    }
    for (int k = 0; k < 12; ++k) {  // two or three pages each: some fit, the rest must not appear
        onMedia(numbered("r", k), 9, k, 500 + 37 * k);
    }
    controller.importFromMedia();
    const auto copies = entriesOfWholeCopies().size();
    EXPECT_TRUE(names().size() == 16 && copies > 4 && copies < 16) << copies;
}

}  // namespace
}  // namespace nuvisca::test
