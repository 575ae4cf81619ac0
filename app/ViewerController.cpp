#include "app/ViewerController.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "app/DialogService.h"
#include "app/FileListModel.h"
#include "app/MainWindow.h"
#include "app/RecordingFiles.h"
#include "formats/CsvWriter.h"
#include "graph/GraphView.h"
#include "print/PrintOperation.h"
#include "print/PrintPage.h"
#include "print/PrintSettings.h"
#include "store/MovingAverage.h"

namespace nuvisca {

namespace {

const char16_t* const kZoomItems[] = {u"1/2倍", u"  1倍", u"  2倍", u"  4倍", u"  8倍"};
constexpr int kAverageItems = 30;

QString titleHtml() {
    // "nuvisca " in light blue, " Viewer" in the label's own colour, 24 points.
    return QStringLiteral(
        "<span style=\"white-space:pre; font-size:24px\">"
        "<span style=\"color:rgba(102,204,255,1.0)\">nuvisca </span> Viewer</span>");
}

}  // namespace

ViewerController::ViewerController(MeasurementStore& store, GraphViewState& view, Services services,
                                   QSizeF screenAvailableSize, QObject* parent)
    : QObject(parent),
      store_(store),
      view_(view),
      dialogs_(services.dialogs),
      volumes_(services.volumes),
      model_(new FileListModel(list_, this)),
      printSettings_(std::make_unique<PrintSettings>()) {
    resetMeasurementStore(store_, static_cast<float>(screenAvailableSize.width()),
                          static_cast<float>(screenAvailableSize.height()));
    resetGraphViewState(view_);
    desktopNvdFolder_ = QStringLiteral("%1/nuviscaViewer_NVDFiles").arg(services.desktopDirectory);
    importFolderReady_ = QDir().mkpath(desktopNvdFolder_);
}

ViewerController::~ViewerController() = default;

void ViewerController::attachWindow(MainWindow& window) {
    window_ = &window;
    graphView_ = window.graph();
    tableView_ = window.table();
    zoomBox_ = window.zoomBox();
    averageBox_ = window.averageBox();

    const double width = 0.95 * static_cast<double>(store_.screenWidth);
    const double height = 0.99 * static_cast<double>(store_.screenHeight);
    if (width > 0.0 && height > 0.0) {
        // The frame sits on the bottom of the screen; Qt counts y from the top.
        const double x = 0.025 * static_cast<double>(store_.screenWidth);
        const double top = static_cast<double>(store_.screenHeight) - height;
        window.setGeometry(static_cast<int>(x), static_cast<int>(top), static_cast<int>(width),
                           static_cast<int>(height));
    }

    window.titleLabel()->setTextFormat(Qt::RichText);
    window.titleLabel()->setText(titleHtml());

    for (const char16_t* item : kZoomItems) {
        zoomBox_->insertItem(zoomBox_->count(), QString::fromUtf16(item));
    }
    zoomBox_->setCurrentIndex(1);
    store_.zoomIndex = 1;

    for (int n = 1; n <= kAverageItems; ++n) {
        averageBox_->insertItem(averageBox_->count(), QString::asprintf("%d", n));
    }
    averageBox_->setCurrentIndex(0);
    averageBox_->setMaxVisibleItems(kAverageItems);
    store_.averageWindow = 0;

    tableView_->setModel(model_);
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
    connect(graphView_, &GraphView::zoomStepRequested, zoomBox_, [box = zoomBox_](int steps) {
        box->setCurrentIndex(std::clamp(box->currentIndex() + steps, 0, box->count() - 1));
    });
}

void ViewerController::zoomChanged() {
    store_.zoomIndex = zoomBox_->currentIndex();
    requestRedraw();
}

void ViewerController::averageChanged() {
    store_.averageWindow = averageBox_->currentIndex();
    computeMovingAverage(store_);
    requestRedraw();
}

void ViewerController::selectionChanged() {
    if (selectingProgrammatically_) {
        return;
    }
    const int row = selectedRow();
    if (row < 0 || row >= list_.size()) {
        return;
    }
    if (loadListedFile(row)) {
        setLoadedFile(row);
    } else {
        // The store still holds the last good recording: keep its row and its name.
        reportUnreadable(list_.tableFilename.at(row));
        selectRow(static_cast<int>(list_.filepathList.indexOf(loadedPath_)));
    }
    averageAndRedrawIfLoaded();
}

bool ViewerController::loadListedFile(int row) {
    const QString& path = list_.filepathList.at(row);
    switch (store_.listSource) {
        case ListSource::RemovableMedia:
            return loadDeviceRecording(path, store_, view_);
        case ListSource::OpenDialog:
            return loadRecordingByExtension(path, store_, view_);
        case ListSource::None:
            break;
    }
    return false;
}

void ViewerController::setLoadedFile(int row) {
    const QByteArray name = row >= 0 ? list_.tableFilename.at(row).toUtf8() : QByteArray();
    setCurrentFileName(store_, name.constData(), static_cast<std::size_t>(name.size()));
    loadedPath_ = row >= 0 ? list_.filepathList.at(row) : QString();
    if (window_ && row >= 0) {
        window_->clearStatus();
    }
}

void ViewerController::print() {
    PrintPage page(store_, view_);
    PrintSettings& settings = *printSettings_;
    applyPrintViewSettings(settings);
    dialogs_.openPageSetup(settings.printer, window_);
    if (dialogs_.confirmPrint(settings.printer, window_) && !printPage(settings, page)) {
        dialogs_.showWarning(window_, QStringLiteral("印刷できませんでした。"
                                                     "プリンタの設定を確かめてください。"));
    }
}

void ViewerController::averageAndRedrawIfLoaded() {
    if (store_.sampleCount > 0) {
        if (store_.averageWindow > 0) {
            computeMovingAverage(store_);
        }
        requestRedraw();
    }
}

void ViewerController::exportCsv() {
    if (list_.isEmpty() || store_.sampleCount == 0) {
        return;
    }
    const QString path = dialogs_.chooseExportPath(window_);
    if (!path.isEmpty()) {
        writeCsvExport(path);
    }
}

void ViewerController::writeCsvExport(const QString& path) {
    ExportSeries series = ExportSeries::Measured;
    if (store_.averageWindow > 0 && dialogs_.askApplyMovingAverage(window_)) {
        series = ExportSeries::Averaged;
    }
    if (!nuvisca::saveCsvExport(toFileSystemPath(path), store_, series)) {
        dialogs_.showWarning(window_,
                             QStringLiteral("「%1」に書き出せませんでした。"
                                            "保存先のフォルダと空き容量を確かめてください。")
                                 .arg(QDir::toNativeSeparators(path)));
    }
}

void ViewerController::reportUnreadable(const QString& fileName) {
    if (window_) {
        window_->showStatus(
            QStringLiteral("「%1」は読み込めませんでした。表示中の記録はそのままです。")
                .arg(fileName));
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

void ViewerController::reloadTable() {
    model_->reloadData();
}

void ViewerController::requestRedraw() {
    if (graphView_) {
        graphView_->requestRedraw();
    }
}

}  // namespace nuvisca
