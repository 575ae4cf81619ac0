#include "app/ViewerController.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "app/ClockTexts.h"
#include "app/DialogService.h"
#include "app/FileListModel.h"
#include "app/MainWindow.h"
#include "app/MarkerList.h"
#include "app/RecordingFiles.h"
#include "app/StatisticsPanel.h"
#include "formats/RecordingFile.h"
#include "graph/GraphView.h"
#include "graph/RangeNavigation.h"
#include "graph/SlotClock.h"

namespace nuvisca {

ViewerController::ViewerController(ViewModel& viewModel, Services services,
                                   QSizeF screenAvailableSize, QObject* parent)
    : QObject(parent),
      viewModel_(viewModel),
      screenSize_(screenAvailableSize),
      dialogs_(services.dialogs),
      settings_(services.settings),
      mediaImport_(services.volumes, services.desktopDirectory, statusLine()),
      exports_(viewModel, services.dialogs, settings_, statusLine()),
      printAction_(viewModel, services.dialogs),
      markerActions_(viewModel, services.dialogs, settings_),
      sidecar_(viewModel, std::move(services.dataFolder)),
      model_(new FileListModel(list_, this)) {
    resetGraphViewState(viewModel_.editView());
    viewModel_.commitView();
    subscription_ = Subscription(viewModel_, [this](unsigned changes) { modelChanged(changes); });
}

void ViewerController::attachWindow(MainWindow& window) {
    window_ = &window;
    graphView_ = window.graph();
    tableView_ = window.table();
    zoomBox_ = window.zoomBox();
    averageBox_ = window.averageBox();

    if (!settings_.restoreWindow(window)) {
        window.placeOnScreen(screenSize_);
    }
    viewModel_.setZoomIndex(zoomBox_->currentIndex());
    viewModel_.setAverageWindow(averageBox_->currentIndex());
    window.setFileListModel(model_);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ViewerController::selectionChanged);
    connect(zoomBox_, &QComboBox::currentIndexChanged, this, &ViewerController::zoomChanged);
    connect(averageBox_, &QComboBox::currentIndexChanged, this, &ViewerController::averageChanged);
    const auto onClick = [&](WindowButton which, void (ViewerController::*action)()) {
        connect(window.button(which), &QPushButton::clicked, this, action);
    };
    onClick(WindowButton::ImportFromMedia, &ViewerController::importFromMedia);
    onClick(WindowButton::AddFiles, &ViewerController::chooseFilesToAdd);
    onClick(WindowButton::ExportCsv, &ViewerController::exportCsv);
    onClick(WindowButton::Print, &ViewerController::print);
    onClick(WindowButton::RemoveSelected, &ViewerController::removeSelected);
    connect(&window, &MainWindow::filesDropped, this, &ViewerController::addFiles);
    connectMenus(window);
    connect(graphView_, &GraphView::zoomStepRequested, zoomBox_, [box = zoomBox_](int steps) {
        box->setCurrentIndex(std::clamp(box->currentIndex() + steps, 0, box->count() - 1));
    });
    StatisticsPanel* statistics = window.statisticsPanel();
    statistics->setThreshold(settings_.rso2Threshold());
    connect(statistics, &StatisticsPanel::thresholdChanged, this,
            [this](double percent) { settings_.setRso2Threshold(percent); });
}

void ViewerController::connectMenus(MainWindow& window) {
    const auto onTrigger = [&](WindowAction which, void (ViewerController::*action)()) {
        connect(window.action(which), &QAction::triggered, this, action);
    };
    onTrigger(WindowAction::ImportFromMedia, &ViewerController::importFromMedia);
    onTrigger(WindowAction::AddFiles, &ViewerController::chooseFilesToAdd);
    onTrigger(WindowAction::ExportCsv, &ViewerController::exportCsv);
    onTrigger(WindowAction::ExportEdf, &ViewerController::exportEdf);
    onTrigger(WindowAction::ExportReport, &ViewerController::exportReport);
    onTrigger(WindowAction::Print, &ViewerController::print);
    onTrigger(WindowAction::RemoveSelected, &ViewerController::removeSelected);
    onTrigger(WindowAction::GoToTime, &ViewerController::goToTime);
    connect(window.action(WindowAction::UndoMarkerEdit), &QAction::triggered, this,
            [this] { viewModel_.undoMarkerEdit(); });
    connect(window.action(WindowAction::RedoMarkerEdit), &QAction::triggered, this,
            [this] { viewModel_.redoMarkerEdit(); });
    connect(graphView_, &GraphView::markerRequested, this, &ViewerController::addMarker);
    connect(window.markerList(), &MarkerList::editRequested, this, &ViewerController::editMarker);
    connect(&window, &MainWindow::recentFileChosen, this,
            [this](const QString& path) { openFiles({path}); });
    connect(&window, &MainWindow::closing, this, &ViewerController::saveOnClose);
    window.setRecentFiles(settings_.recentFiles());

    settings_.loadTraces(viewModel_.editView().traceShown);
    viewModel_.commitView();
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        connect(window.traceAction(k), &QAction::toggled, this, [this, k](bool shown) {
            viewModel_.setTraceShown(static_cast<Channel>(k), shown);
        });
    }
    showTracesInMenu();
    // The legend toggles traces inside the graph; the menu follows after each click.
    graphView_->installEventFilter(this);
}

void ViewerController::showTracesInMenu() {
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        QAction* item = window_->traceAction(k);
        const QSignalBlocker quiet(item);
        item->setChecked(viewModel_.view().traceShown[k]);
    }
}

bool ViewerController::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the graph also sends events while it is being destroyed, when even
    // comparing it through its QPointer would treat a half-destroyed object as a GraphView.
    if (event->type() == QEvent::MouseButtonRelease && window_ && watched == graphView_) {
        showTracesInMenu();
    }
    return QObject::eventFilter(watched, event);
}

void ViewerController::saveOnClose() {
    settings_.saveWindow(*window_);
    settings_.saveTraces(viewModel_.view().traceShown);
}

void ViewerController::modelChanged(unsigned changes) {
    if (window_ && (changes & (kRecordingChanged | kMarkersChanged)) != 0) {
        window_->action(WindowAction::UndoMarkerEdit)->setEnabled(viewModel_.canUndoMarkerEdit());
        window_->action(WindowAction::RedoMarkerEdit)->setEnabled(viewModel_.canRedoMarkerEdit());
        window_->showMarkerCount(viewModel_.markers().size());
    }
    if ((changes & kEditedByUser) != 0) {
        if (const QString said = sidecar_.userEdited(changes); !said.isEmpty()) {
            showStatus(said);
        }
        if (window_ && (changes & kMarkersChanged) != 0) {
            window_->showMarkerList();
        }
    }
}

void ViewerController::addMarker(std::int32_t slot) {
    if (showsRecording()) {
        markerActions_.add(window_, slot);
    }
}

void ViewerController::editMarker(std::size_t index) {
    if (showsRecording()) {
        markerActions_.edit(window_, index);
    }
}

void ViewerController::zoomChanged() {
    viewModel_.setZoomIndex(zoomBox_->currentIndex());
}

void ViewerController::averageChanged() {
    viewModel_.setAverageWindow(averageBox_->currentIndex());
}

void ViewerController::selectionChanged() {
    if (selectingProgrammatically_) {
        return;
    }
    const int row = selectedRow();
    if (row < 0 || row >= rowCount(list_)) {
        return;
    }
    CsvRefusal refusal = CsvRefusal::kNotAnExport;
    if (loadListedFile(row, &refusal)) {
        setLoadedFile(row);
        // Before what the sidecar's reading said.
        const QString said = window_ ? window_->statusText() : QString();
        if (viewModel_.recording().sampleCount == 0) {
            showStatus(QStringLiteral("「%1」には測定値がありません。").arg(listed(row).name) +
                       said);
        } else if (viewModel_.recording().truncated) {
            showStatus(
                QStringLiteral("記録が10時間40分を超えるため、それ以降は読み込んでいません。") +
                said);
        }
    } else {
        // The last good recording is still shown: keep its row and its name.
        reportUnreadable(listed(row).name, refusal);
        selectRow(rowOf(list_, loadedPath_));
    }
}

bool ViewerController::loadListedFile(int row, CsvRefusal* refusal) {
    const QString& path = listed(row).path;
    // A new recording's range is sized by the view; before its first paint (a file named on
    // the command line) only the widget knows that size.
    GraphViewState& view = viewModel_.editView();
    if (graphView_ && graphView_->isVisible() && view.viewWidth <= 0.0f) {
        view.viewWidth = static_cast<float>(graphView_->width());
        view.viewHeight = static_cast<float>(graphView_->height());
    }
    OpenedRecording opened =
        unlessExhausted(OpenedRecording{}, [&] { return openRecording(toFileSystemPath(path)); });
    if (!opened.recording) {
        if (refusal != nullptr && opened.csvRefusal == CsvRefusal::kTooLarge) {
            *refusal = CsvRefusal::kTooLarge;
        }
        return false;
    }
    viewModel_.setRecording(std::move(opened.recording));
    return true;
}

void ViewerController::setLoadedFile(int row) {
    viewModel_.setFileName(row >= 0 ? listed(row).name.toUtf8().toStdString() : std::string());
    loadedPath_ = row >= 0 ? listed(row).path : QString();
    if (window_) {
        const QString deviceId = QString::fromLatin1(viewModel_.recording().deviceId.data());
        window_->showRecording(row >= 0 ? listed(row).name : QString(),
                               row >= 0 ? deviceId : QString());
        if (row >= 0) {
            window_->clearStatus();
        }
    }
    if (const QString said = sidecar_.recordingShown(row >= 0 ? listed(row).path : QString());
        !said.isEmpty()) {
        showStatus(said);
    }
}

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
    showStatus(files->text());
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
        showStatus(files->text());
    }
}

std::optional<AddedFiles> ViewerController::addToList(const QStringList& paths) {
    const bool appending = listSource_ == ListSource::OpenDialog;
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
        const bool alreadyListed =
            std::any_of(entries.begin(), entries.end(),
                        [&](const ListedFile& file) { return file.path == path; });
        if (!alreadyListed) {
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

std::int64_t ViewerController::listedDateKey(const QString& path, CsvRefusal* refusal) {
    return unlessExhausted(std::int64_t{0},
                           [&] { return recordingDateKey(toFileSystemPath(path), refusal); });
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
        viewModel_.setRecording(nullptr);
        setLoadedFile(-1);
        if (window_) {
            window_->clearStatus();
        }
    }
}

void ViewerController::showNeighbour(int row) {
    selectRow(row);
    CsvRefusal refusal = CsvRefusal::kNotAnExport;
    if (loadListedFile(row, &refusal)) {
        setLoadedFile(row);
    } else {
        // The removed entry's recording must not stay on screen under another name.
        viewModel_.setRecording(nullptr);
        setLoadedFile(-1);
        showStatus(refusalText(listed(row).name, refusal) +
                   QStringLiteral("グラフには何も表示していません。"));
    }
}

void ViewerController::print() {
    printAction_.run(window_);
}

bool ViewerController::showsRecording() const {
    return !list_.empty() && viewModel_.recording().sampleCount > 0;
}

void ViewerController::exportCsv() {
    if (showsRecording()) {
        exports_.exportCsv(window_, loadedPath_);
    }
}

void ViewerController::exportEdf() {
    if (showsRecording()) {
        exports_.exportEdf(window_, loadedPath_);
    }
}

void ViewerController::exportReport() {
    if (showsRecording()) {
        exports_.exportReport(window_, loadedPath_);
    }
}

void ViewerController::goToTime() {
    if (!showsRecording() || !graphView_) {
        return;
    }
    const Recording& recording = viewModel_.recording();
    const QString spanText = recordingSpanText(recording);
    const std::optional<QString> answer = dialogs_.askLine(
        window_, QStringLiteral("時刻へ移動"),
        QStringLiteral("表示範囲の左端に置く時刻（HH:MM または HH:MM:SS、%1）:").arg(spanText),
        clockText(clockTimeOf(recording, viewModel_.view().viewStart)));
    if (!answer) {
        return;
    }
    const QString entry = typedAscii(*answer);
    const std::optional<std::uint64_t> seconds = parseClock(entry.toStdString());
    const std::optional<std::int32_t> slot =
        seconds ? slotAtClock(recording, *seconds) : std::nullopt;
    if (!seconds) {
        dialogs_.showWarning(window_, unreadableClockText(entry, spanText));
        return;
    }
    if (!slot) {
        dialogs_.showWarning(window_, clockOutsideText(*seconds, spanText));
        return;
    }
    showRangeStartingAt(viewModel_, *slot);
}

QString ViewerController::refusalText(const QString& fileName, CsvRefusal refusal) {
    return (refusal == CsvRefusal::kTooLarge
                ? QStringLiteral("「%1」はCSV書き出しファイルとしては大きすぎます。")
                : QStringLiteral("「%1」は読み込めませんでした。"))
        .arg(fileName);
}

void ViewerController::reportUnreadable(const QString& fileName, CsvRefusal refusal) {
    showStatus(refusalText(fileName, refusal) + QStringLiteral("表示中の記録はそのままです。"));
}

StatusLine ViewerController::statusLine() {
    return [this](const QString& message) { showStatus(message); };
}

void ViewerController::showStatus(const QString& message) {
    if (window_) {
        window_->showStatus(message);
    }
}

int ViewerController::selectedRow() const {
    if (!tableView_ || !tableView_->selectionModel()) {
        return -1;
    }
    const QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void ViewerController::selectRow(int row) {
    if (!tableView_) {
        return;
    }
    selectingProgrammatically_ = true;
    if (row < 0) {
        tableView_->clearSelection();
    } else {
        tableView_->selectRow(row);
    }
    selectingProgrammatically_ = false;
}

void ViewerController::scrollToRow(int row) {
    if (tableView_ && row >= 0) {
        tableView_->scrollTo(model_->index(row, 0));
    }
}

// A reset drops the selection; the shown recording's row keeps it, so the list's actions
// still apply to it.
void ViewerController::reloadTable() {
    model_->reloadData();
    selectRow(rowOf(list_, loadedPath_));
}

bool ViewerController::showList(std::vector<ListedFile> rows, ListSource source) {
    if (!unlessExhausted(false, [&] {
            numberRows(rows);
            return true;
        })) {
        return false;
    }
    list_ = std::move(rows);
    reloadTable();
    scrollToRow(rowCount(list_) - 1);
    listSource_ = source;
    return true;
}

}  // namespace nuvisca
