// Removable media that change under the import and import folders that cannot take the
// copies: the import never hangs, never overwrites or truncates a file and never leaves a
// partial copy under a final name.
#include <sys/stat.h>

#include <QDir>
#include <functional>

#include "ControllerFixture.h"
#include "app/RecordingFiles.h"
#include "support/SmallTmpfs.h"

namespace nuvisca::test {
namespace {

class HostileMediaTest : public ControllerTest {
protected:
    // Runs change once the import has listed the files and before it copies them.
    void afterListing(std::function<void()> change) {
        QObject::connect(controller.tableModel(), &QAbstractItemModel::modelReset, &context,
                         std::move(change), Qt::SingleShotConnection);
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
            const auto source = media.path() / toFileSystemPath(name);
            ASSERT_TRUE(std::filesystem::exists(source)) << "stray entry " << name.toStdString();
            EXPECT_EQ(readBytes(toFileSystemPath(controller.desktopNvdFolder() + u'/' + name)),
                      readBytes(source))
                << name.toStdString();
        }
    }

    QObject context;
};

// Between listing and copying a volume vanishes, one file turns into a pipe, another into
// one that cannot be read: all stay listed, none is copied, and opening the pipe would block.
TEST_F(HostileMediaTest, FilesThatChangeAfterListingAreNotCopied) {
    TempDir vanishing;
    writeRecording(vanishing.path(), "gone.NVD", 8, 0);
    const auto pipe = writeRecording(media.path(), "pipe.NVD", 9, 0);
    const auto unreadable = writeRecording(media.path(), "unreadable.NVD", 10, 0);
    onMedia("plain.NVD", 11);
    addVolume(vanishing.path());
    addVolume(media.path());
    afterListing([&] {
        std::filesystem::remove_all(vanishing.path());
        std::filesystem::remove(pipe);
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        std::filesystem::remove(unreadable);
        std::filesystem::create_symlink("/proc/self/mem", unreadable);
    });

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 4);
    EXPECT_EQ(importFolderEntries(), QStringList{u"plain.NVD"_s});
    expectOnlyWholeCopies();
    selectRow(0);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_TRUE(currentName().isEmpty());
}

TEST_F(HostileMediaTest, AFullImportFolderHoldsWholeCopiesOnly) {
    const SmallTmpfs disk(toFileSystemPath(controller.desktopNvdFolder()), 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "no privilege to mount a small tmpfs";
    }
    // Each copy takes two or three pages: some fit, the rest must not appear at all.
    for (int k = 0; k < 12; ++k) {
        onMedia("r" + std::to_string(k) + ".NVD", 9, k, 500 + 37 * k);
    }
    addVolume(media.path());

    controller.onClickedButton1();

    EXPECT_EQ(list().size(), 12);
    EXPECT_GT(importFolderEntries().size(), 0);
    EXPECT_LT(importFolderEntries().size(), 12);
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
        onMedia(name, 9);
    }
    addVolume(media.path());

    controller.onClickedButton1();
    controller.onClickedButton1();  // nothing is copied twice

    EXPECT_EQ(list().size(), 4);
    EXPECT_FALSE(std::filesystem::exists(desktop.path() / "elsewhere.NVD"));
    EXPECT_TRUE(std::filesystem::is_symlink(folderPath / "link.NVD"));
    EXPECT_EQ(readBytes(folderPath / "dir.NVD" / "inside"), "i");
    EXPECT_EQ(readBytes(folderPath / "old.NVD"), "old");
    EXPECT_EQ(importFolderEntries(),
              (QStringList{u"dir.NVD"_s, u"link.NVD"_s, u"new.NVD"_s, u"old.NVD"_s}));
    expectOnlyWholeCopies({u"dir.NVD"_s, u"link.NVD"_s, u"old.NVD"_s});
}

}  // namespace
}  // namespace nuvisca::test
