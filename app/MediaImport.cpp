#include "app/MediaImport.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <utility>

#include "app/RecordingFiles.h"
#include "app/VolumeSource.h"
#include "formats/NvdReader.h"
#include "formats/RegularFile.h"

namespace nuvisca {

namespace {

std::vector<ListedFile> collectFromVolumes(const QList<MountedVolume>& volumes) {
    std::vector<ListedFile> found;
    for (const MountedVolume& volume : volumes) {
        if (static_cast<int>(found.size()) >= kMaxListEntries) {
            break;
        }
        if (!volume.removable) {
            continue;
        }
        // A volume too large to list contributes nothing, like one that cannot be listed.
        const QStringList names = unlessExhausted(QStringList(), [&] {
            return QDir(volume.rootPath).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
        });
        for (const QString& name : names) {
            if (static_cast<int>(found.size()) >= kMaxListEntries) {
                break;
            }
            if (QFileInfo(name).suffix() != u"NVD") {
                continue;
            }
            const QString path = QStringLiteral("%1/%2").arg(volume.rootPath, name);
            const std::int64_t key = getDateFromNVD(toFileSystemPath(path));
            if (key > 0) {
                found.push_back({.path = path, .name = name, .dateKey = key});
            }
        }
    }
    return found;
}

enum class CopyOutcome { Copied, NotCopied, TooLarge };

CopyOutcome copyBounded(const QString& source, const QString& folder, const QString& name) {
    const QString destination = QStringLiteral("%1/%2").arg(folder, name);
    if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink()) {
        return CopyOutcome::NotCopied;
    }
    // Not QFile: the file may have been swapped for a pipe since it was listed, and opening
    // a pipe would block.
    const FileHandle input = openRegularFile(toFileSystemPath(source), "rb");
    struct stat info {};
    if (!input || ::fstat(::fileno(input.get()), &info) != 0) {
        return CopyOutcome::NotCopied;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kNvdCopyLimit) {
        return CopyOutcome::TooLarge;
    }
    // Copied under a temporary name first, so no partial copy ever bears the final name,
    // and renamed without replacing whatever appeared there meanwhile.
    QTemporaryFile partial(QStringLiteral("%1/.import-XXXXXX").arg(folder));
    if (!partial.open()) {
        return CopyOutcome::NotCopied;
    }
    // A file that grows while it is copied is followed no further than one byte past the
    // bound, and its partial copy goes.
    char buffer[64 * 1024];
    std::uintmax_t copied = 0;
    for (std::size_t got = std::fread(buffer, 1, sizeof buffer, input.get()); got != 0;
         got = std::fread(buffer, 1, sizeof buffer, input.get())) {
        if (partial.write(buffer, static_cast<qint64>(got)) != static_cast<qint64>(got)) {
            return CopyOutcome::NotCopied;
        }
        copied += got;
        if (copied > kNvdCopyLimit) {
            return CopyOutcome::TooLarge;
        }
    }
    if (std::ferror(input.get()) != 0 || !partial.flush()) {
        return CopyOutcome::NotCopied;
    }
    partial.close();
    if (!QFile::rename(partial.fileName(), destination)) {
        return CopyOutcome::NotCopied;
    }
    partial.setAutoRemove(false);
    return CopyOutcome::Copied;
}

}  // namespace

MediaImport::MediaImport(const VolumeSource& volumes, const QString& desktopDirectory,
                         StatusLine status)
    : volumes_(volumes),
      folder_(QStringLiteral("%1/nuviscaViewer_NVDFiles").arg(desktopDirectory)),
      folderReady_(QDir().mkpath(folder_)),
      status_(std::move(status)) {}

std::vector<ListedFile> MediaImport::findRecordings() const {
    const QList<MountedVolume> volumes = volumes_.mountedVolumes();
    std::vector<ListedFile> found = collectFromVolumes(volumes);
    if (found.empty()) {
        const bool anyMedium = std::any_of(volumes.begin(), volumes.end(),
                                           [](const MountedVolume& v) { return v.removable; });
        status_(anyMedium ? QStringLiteral("メディアに記録ファイルが見つかりませんでした。")
                          : QStringLiteral("取り外し可能なメディアが見つかりません。"));
    }
    sortByDateKey(found.begin(), found.end());
    return found;
}

void MediaImport::copyListed(const std::vector<ListedFile>& listed) const {
    status_(QStringLiteral("メディアから %1 件の記録を一覧に載せました。").arg(rowCount(listed)));
    if (!folderReady_) {
        return;
    }
    for (const ListedFile& file : listed) {
        const CopyOutcome outcome = unlessExhausted(
            CopyOutcome::NotCopied, [&] { return copyBounded(file.path, folder_, file.name); });
        if (outcome == CopyOutcome::TooLarge) {
            status_(
                QStringLiteral("「%1」は記録ファイルとしては大きすぎるため、コピーしませんでした。")
                    .arg(file.name));
        }
    }
}

}  // namespace nuvisca
