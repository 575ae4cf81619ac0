// The actions that fill and shrink the file list: removable-media import, adding files
// and removing the selected entry.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
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

struct ListedFile {
    QString path;
    QString name;
    std::int64_t key = 0;
};

// Stable, so files with equal start times keep the order in which they were found.
void sortByDateKey(std::vector<ListedFile>::iterator first,
                   std::vector<ListedFile>::iterator last) {
    std::stable_sort(first, last,
                     [](const ListedFile& a, const ListedFile& b) { return a.key < b.key; });
}

void fillList(FileList& list, const std::vector<ListedFile>& files) {
    list.clear();
    for (std::size_t k = 0; k < files.size(); ++k) {
        const int row = static_cast<int>(k);
        list.filepathList.append(files[k].path);
        list.tableFilename.append(files[k].name);
        list.tableListNumber.append(listNumberText(row));
        list.tableDate.append(dateKeyText(files[k].key));
    }
}

std::vector<ListedFile> collectFromVolumes(const QList<MountedVolume>& volumes) {
    std::vector<ListedFile> found;
    for (const MountedVolume& volume : volumes) {
        if (static_cast<int>(found.size()) >= kMaxListEntries) {
            break;
        }
        if (!volume.removable) {
            continue;
        }
        const QStringList names =
            QDir(volume.rootPath).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
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
                found.push_back({path, name, key});
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
    fillList(list_, found);
    reloadTable();
    scrollToRow(list_.size() - 1);
    store_.listSource = ListSource::RemovableMedia;
    showStatus(QStringLiteral("メディアから %1 件の記録を一覧に載せました。").arg(list_.size()));
    if (importFolderReady_) {
        for (int k = 0; k < list_.size(); ++k) {
            copyIntoImportFolder(list_.filepathList.at(k), list_.tableFilename.at(k));
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
    addFiles(paths);
    for (const QString& path : paths) {
        const auto row = list_.filepathList.indexOf(QFileInfo(path).absoluteFilePath());
        if (row >= 0) {
            selectRow(static_cast<int>(row));
            selectionChanged();
            return;
        }
    }
}

void ViewerController::addFiles(const QStringList& paths) {
    const bool appending = store_.listSource == ListSource::OpenDialog;
    const qsizetype listedBefore = appending ? list_.filepathList.size() : 0;
    std::vector<ListedFile> entries;
    for (const QString& path : list_.filepathList.first(listedBefore)) {
        entries.push_back({path, QFileInfo(path).fileName(), 0});
    }
    if (static_cast<int>(entries.size()) > kMaxListEntries - 1) {
        return;
    }
    const std::size_t firstAdded = entries.size();
    int notRecordings = 0;
    QString firstNotRecording;
    for (const QString& chosen : paths) {
        if (static_cast<int>(entries.size()) >= kMaxListEntries) {
            break;
        }
        const QString path = QFileInfo(chosen).absoluteFilePath();
        if (dateKeyByExtension(path) < 1) {
            if (notRecordings++ == 0) {
                firstNotRecording = QFileInfo(path).fileName();
            }
            continue;
        }
        // Named twice in one choice, or already listed: one row.
        const bool listed = std::any_of(entries.begin(), entries.end(),
                                        [&](const ListedFile& file) { return file.path == path; });
        if (!listed) {
            entries.push_back({path, QFileInfo(path).fileName(), 0});
        }
    }
    const int added = static_cast<int>(entries.size() - firstAdded);
    reportAdded(added, notRecordings, firstNotRecording);
    if (added == 0) {
        return;
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
        file.key = dateKeyByExtension(file.path);
    }
    sortByDateKey(entries.begin() + static_cast<std::ptrdiff_t>(firstAdded), entries.end());
    fillList(list_, entries);
    reloadTable();
    scrollToRow(list_.size() - 1);
    store_.listSource = ListSource::OpenDialog;
}

void ViewerController::reportAdded(int added, int notRecordings, const QString& firstNotRecording) {
    QString message = QStringLiteral("%1 件のファイルを追加しました。").arg(added);
    if (notRecordings == 1) {
        message.append(QStringLiteral("「%1」は記録ファイルではないため読み飛ばしました。")
                           .arg(firstNotRecording));
    } else if (notRecordings > 1) {
        message.append(
            QStringLiteral("「%1」など %2 件は記録ファイルではないため読み飛ばしました。")
                .arg(firstNotRecording)
                .arg(notRecordings));
    }
    showStatus(message);
}

void ViewerController::removeSelected() {
    const int removed = selectedRow();
    if (removed < 0 || removed >= list_.size()) {
        return;
    }
    list_.removeRow(removed);
    reloadTable();
    if (removed < list_.size()) {
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
    if (loadListedFile(row)) {
        setLoadedFile(row);
        if (store_.sampleCount > 0 && store_.averageWindow > 0) {
            computeMovingAverage(store_);
        }
    } else {
        // The removed entry's recording must not stay on screen under another name.
        store_.sampleCount = 0;
        setLoadedFile(-1);
        showStatus(QStringLiteral("「%1」は読み込めなかったため、グラフには何も表示していません。")
                       .arg(list_.tableFilename.at(row)));
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
    if (!input) {
        return false;
    }
    // Copied under a temporary name first, so no partial copy ever bears the final name,
    // and renamed without replacing whatever appeared there meanwhile.
    QTemporaryFile partial(QStringLiteral("%1/.import-XXXXXX").arg(desktopNvdFolder_));
    if (!partial.open()) {
        return false;
    }
    char buffer[64 * 1024];
    for (std::size_t got = std::fread(buffer, 1, sizeof buffer, input.get()); got != 0;
         got = std::fread(buffer, 1, sizeof buffer, input.get())) {
        if (partial.write(buffer, static_cast<qint64>(got)) != static_cast<qint64>(got)) {
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

}  // namespace nuvisca
