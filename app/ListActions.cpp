// The actions that fill and shrink the file list: removable-media import, adding files
// and removing the selected entry.
#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "app/DialogService.h"
#include "app/MainWindow.h"
#include "app/RecordingFiles.h"
#include "app/ViewerController.h"
#include "store/MovingAverage.h"

namespace nuvisca {

void ViewerController::importFromMedia() {
    std::vector<ListedFile> found = mediaImport_.findRecordings();
    if (!found.empty() && showList(std::move(found), ListSource::RemovableMedia)) {
        mediaImport_.copyListed(list_);
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

}  // namespace nuvisca
