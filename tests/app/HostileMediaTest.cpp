// Removable media that change under the import and import folders that cannot take the
// copies: the import never hangs, never overwrites or truncates a file and never leaves a
// partial copy under a final name.
#include <sys/stat.h>

#include <QDir>
#include <algorithm>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "formats/NvdReader.h"
#include "support/HostileFiles.h"
#include "support/SmallTmpfs.h"

namespace nuvisca::test {
namespace {

class HostileMediaTest : public ControllerTest {
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

// Between listing and copying a volume vanishes, one file turns into a pipe, another into
// one that cannot be read: all stay listed, none is copied, and opening the pipe would block.
// A device file above the copy bound is listed but not copied, and the status line names it.
TEST_F(HostileMediaTest, FilesThatChangeAfterListingOrExceedTheBoundAreNotCopied) {
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
TEST_F(HostileMediaTest, WhatBearsTheNamesIsKeptAndAFullDiskHoldsWholeCopiesOnly) {
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

// Huge and odd files named on the command line: those that can be read are listed and load,
// those too large to be exports are named; one that grows past the bound once listed is
// refused as too large and the shown recording stays.
TEST_F(HostileMediaTest, HugeFilesAreListedOrNamedAndALoadPastTheBoundIsRefused) {
    QStringList paths{onMedia("good.NVD", 9)};
    QStringList readable{u"good.NVD"_s};
    for (const auto& [path, canRead] : writeHostileFiles(media.path())) {
        paths.append(qPath(path));
        readable.append(canRead ? qPath(path.filename()) : QString());
    }
    controller.addFiles(paths);
    readable.removeAll(QString());
    EXPECT_TRUE(std::ranges::is_permutation(names(), readable)) << names().join(u' ').toStdString();
    EXPECT_TRUE(status().endsWith(u"件はCSV書き出しファイルとしては大きすぎます。"_s))
        << status().toStdString();
    for (int row = 0; row < names().size(); ++row) {
        selectRow(row);
        EXPECT_EQ(currentName(), names().at(row));
    }
    std::filesystem::resize_file(media.file("line.csv"), kCsvSizeLimit + 1);
    selectRow(static_cast<int>(names().indexOf(u"good.NVD"_s)));
    selectRow(static_cast<int>(names().indexOf(u"line.csv"_s)));
    EXPECT_EQ(currentName(), u"good.NVD"_s);
    EXPECT_EQ(
        status(),
        u"「line.csv」はCSV書き出しファイルとしては大きすぎます。表示中の記録はそのままです。"_s);
}

}  // namespace
}  // namespace nuvisca::test
