// The actions that fill and shrink the file list: removable-media import, adding files
// and removing the selected entry.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "app/DialogService.h"
#include "app/MainWindow.h"
#include "app/RecordingFiles.h"
#include "app/ViewerController.h"
#include "app/VolumeSource.h"
#include "formats/NvdReader.h"
#include "formats/RegularFile.h"
#include "store/MovingAverage.h"

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

}  // namespace

void ViewerController::importFromMedia() {
    const QList<MountedVolume> volumes = volumes_.mountedVolumes();
    std::vector<ListedFile> found = collectFromVolumes(volumes);
    if (found.empty()) {
        const bool anyMedium = std::any_of(volumes.begin(), volumes.end(),
                                           [](const MountedVolume& v) { return v.removable; });
        showStatus(anyMedium ? QStringLiteral("メディアに記録ファイルが見つかりませんでした。")
                             : QStringLiteral("取り外し可能なメディアが見つかりません。"));
        return;
    }
    sortByDateKey(found.begin(), found.end());
    if (!showList(std::move(found), ListSource::RemovableMedia)) {
        return;
    }
    showStatus(QStringLiteral("メディアから %1 件の記録を一覧に載せました。").arg(rowCount(list_)));
    if (importFolderReady_) {
        for (const ListedFile& file : list_) {
            unlessExhausted(false, [&] { return copyIntoImportFolder(file.path, file.name); });
        }
    }
}

void ViewerController::chooseFilesToAdd() {
    const QStringList chosen = dialogs_.chooseRecordingsToAdd(window_, settings_.openFolder());
    if (!chosen.isEmpty()) {
        settings_.setOpenFolder(QFileInfo(chosen.constFirst()).absolutePath());
        addFiles(chosen);
    }
}

void ViewerController::openFiles(const QStringList& paths) {
    const std::optional<AddedFiles> files = addToList(paths);
    if (!files) {
        return;
    }
    showStatus(addedText(*files));
    for (const QString& path : paths) {
        const int row = rowOf(list_, QFileInfo(path).absoluteFilePath());
        if (row >= 0) {
            selectRow(row);
            selectionChanged();
            // The load said its own piece; the files left out must still be named.
            if (window_ && !files->skippedText().isEmpty()) {
                showStatus(window_->statusText() + files->skippedText());
            }
            return;
        }
    }
}

void ViewerController::addFiles(const QStringList& paths) {
    if (const std::optional<AddedFiles> files = addToList(paths)) {
        showStatus(addedText(*files));
    }
}

std::optional<ViewerController::AddedFiles> ViewerController::addToList(const QStringList& paths) {
    const bool appending = store_.listSource == ListSource::OpenDialog;
    std::vector<ListedFile> entries(list_.begin(), appending ? list_.end() : list_.begin());
    if (static_cast<int>(entries.size()) > kMaxListEntries - 1) {
        return std::nullopt;
    }
    const std::size_t firstAdded = entries.size();
    AddedFiles files;
    for (const QString& chosen : paths) {
        if (static_cast<int>(entries.size()) >= kMaxListEntries) {
            break;
        }
        const QString path = QFileInfo(chosen).absoluteFilePath();
        CsvRefusal refusal = CsvRefusal::kNone;
        if (listedDateKey(path, &refusal) < 1) {
            (refusal == CsvRefusal::kTooLarge ? files.tooLarge : files.notRecordings)
                .note(QFileInfo(path).fileName());
            continue;
        }
        // Named twice in one choice, or already listed: one row.
        const bool listed = std::any_of(entries.begin(), entries.end(),
                                        [&](const ListedFile& file) { return file.path == path; });
        if (!listed) {
            entries.push_back({.path = path, .name = QFileInfo(path).fileName()});
        }
    }
    files.added = static_cast<int>(entries.size() - firstAdded);
    if (files.added == 0) {
        return files;
    }
    for (auto file = entries.begin() + static_cast<std::ptrdiff_t>(firstAdded);
         file != entries.end(); ++file) {
        settings_.noteRecentFile(file->path);
    }
    if (window_) {
        window_->setRecentFiles(settings_.recentFiles());
    }
    // Old entries are dated again: a file deleted since it was listed now shows key 0.
    for (ListedFile& file : entries) {
        file.dateKey = listedDateKey(file.path);
    }
    sortByDateKey(entries.begin() + static_cast<std::ptrdiff_t>(firstAdded), entries.end());
    if (!showList(std::move(entries), ListSource::OpenDialog)) {
        files.added = 0;
    }
    return files;
}

void ViewerController::SkippedFiles::note(const QString& name) {
    if (count++ == 0) {
        first = name;
    }
}

QString ViewerController::SkippedFiles::text() const {
    return count == 1 ? QStringLiteral("「%1」").arg(first)
                      : QStringLiteral("「%1」など %2 件").arg(first).arg(count);
}

std::int64_t ViewerController::listedDateKey(const QString& path, CsvRefusal* refusal) {
    return unlessExhausted(std::int64_t{0}, [&] { return dateKeyByExtension(path, refusal); });
}

QString ViewerController::AddedFiles::skippedText() const {
    QString message;
    if (notRecordings.count > 0) {
        message.append(QStringLiteral("%1は記録ファイルではないため読み飛ばしました。")
                           .arg(notRecordings.text()));
    }
    if (tooLarge.count > 0) {
        message.append(
            QStringLiteral("%1はCSV書き出しファイルとしては大きすぎます。").arg(tooLarge.text()));
    }
    return message;
}

QString ViewerController::addedText(const AddedFiles& files) {
    return QStringLiteral("%1 件のファイルを追加しました。").arg(files.added) + files.skippedText();
}

void ViewerController::removeSelected() {
    const int removed = selectedRow();
    if (removed < 0 || removed >= rowCount(list_)) {
        return;
    }
    list_.erase(list_.begin() + removed);
    reloadTable();
    if (removed < rowCount(list_)) {
        showNeighbour(removed);
    } else if (removed >= 1) {
        showNeighbour(removed - 1);
    } else {
        store_.sampleCount = 0;
        setLoadedFile(-1);
        if (window_) {
            window_->clearStatus();
        }
        requestRedraw();
    }
}

void ViewerController::showNeighbour(int row) {
    selectRow(row);
    CsvRefusal refusal = CsvRefusal::kNotAnExport;
    if (loadListedFile(row, &refusal)) {
        setLoadedFile(row);
        if (store_.sampleCount > 0 && store_.averageWindow > 0) {
            computeMovingAverage(store_);
        }
    } else {
        // The removed entry's recording must not stay on screen under another name.
        store_.sampleCount = 0;
        setLoadedFile(-1);
        showStatus(refusalText(listed(row).name, refusal) +
                   QStringLiteral("グラフには何も表示していません。"));
    }
    requestRedraw();
}

bool ViewerController::copyIntoImportFolder(const QString& source, const QString& name) {
    const QString destination = QStringLiteral("%1/%2").arg(desktopNvdFolder_, name);
    if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink()) {
        return false;
    }
    // Not QFile: the file may have been swapped for a pipe since it was listed, and opening
    // a pipe would block.
    const FileHandle input = openRegularFile(toFileSystemPath(source), "rb");
    struct stat info {};
    if (!input || ::fstat(::fileno(input.get()), &info) != 0) {
        return false;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kNvdCopyLimit) {
        reportTooLargeToCopy(name);
        return false;
    }
    // Copied under a temporary name first, so no partial copy ever bears the final name,
    // and renamed without replacing whatever appeared there meanwhile.
    QTemporaryFile partial(QStringLiteral("%1/.import-XXXXXX").arg(desktopNvdFolder_));
    if (!partial.open()) {
        return false;
    }
    // A file that grows while it is copied is followed no further than one byte past the
    // bound, and its partial copy goes.
    char buffer[64 * 1024];
    std::uintmax_t copied = 0;
    for (std::size_t got = std::fread(buffer, 1, sizeof buffer, input.get()); got != 0;
         got = std::fread(buffer, 1, sizeof buffer, input.get())) {
        if (partial.write(buffer, static_cast<qint64>(got)) != static_cast<qint64>(got)) {
            return false;
        }
        copied += got;
        if (copied > kNvdCopyLimit) {
            reportTooLargeToCopy(name);
            return false;
        }
    }
    if (std::ferror(input.get()) != 0) {
        return false;
    }
    if (!partial.flush()) {
        return false;
    }
    partial.close();
    if (!QFile::rename(partial.fileName(), destination)) {
        return false;
    }
    partial.setAutoRemove(false);
    return true;
}

void ViewerController::reportTooLargeToCopy(const QString& name) {
    if (window_) {
        window_->showStatus(
            QStringLiteral("「%1」は記録ファイルとしては大きすぎるため、コピーしませんでした。")
                .arg(name));
    }
}

}  // namespace nuvisca
