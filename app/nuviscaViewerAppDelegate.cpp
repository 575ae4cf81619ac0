#include "app/nuviscaViewerAppDelegate.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "app/DialogService.h"
#include "app/FileListModel.h"
#include "app/MainWindow.h"
#include "app/RecordingFiles.h"
#include "formats/CsvWriter.h"
#include "graph/dataView.h"
#include "print/PrintOperation.h"
#include "print/PrintSettings.h"
#include "print/printView.h"
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

nuviscaViewerAppDelegate::nuviscaViewerAppDelegate(MeasurementStore& store, GraphViewState& view,
                                                   Services services, QSizeF screenAvailableSize,
                                                   QObject* parent)
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
    desktopFolder_flg = QDir().mkpath(desktopNvdFolder_);
}

nuviscaViewerAppDelegate::~nuviscaViewerAppDelegate() = default;

void nuviscaViewerAppDelegate::awakeFromNib(MainWindow& window) {
    window_ = &window;
    mDataView = window.graph();
    textTitle = window.titleLabel();
    tableView_ = window.table();
    combobox1_ = window.zoomBox();
    combobox2_ = window.averageBox();

    const double width = 0.95 * static_cast<double>(store_.screenWidth);
    const double height = 0.99 * static_cast<double>(store_.screenHeight);
    if (width > 0.0 && height > 0.0) {
        // The frame sits on the bottom of the screen; Qt counts y from the top.
        const double x = 0.025 * static_cast<double>(store_.screenWidth);
        const double top = static_cast<double>(store_.screenHeight) - height;
        window.setGeometry(static_cast<int>(x), static_cast<int>(top), static_cast<int>(width),
                           static_cast<int>(height));
    }

    textTitle->setTextFormat(Qt::RichText);
    textTitle->setText(titleHtml());

    for (const char16_t* item : kZoomItems) {
        combobox1_->insertItem(combobox1_->count(), QString::fromUtf16(item));
    }
    combobox1_->setCurrentIndex(1);
    store_.zoomIndex = 1;

    for (int n = 1; n <= kAverageItems; ++n) {
        combobox2_->insertItem(combobox2_->count(), QString::asprintf("%d", n));
    }
    combobox2_->setCurrentIndex(0);
    combobox2_->setMaxVisibleItems(kAverageItems);
    store_.averageWindow = 0;

    tableView_->setModel(model_);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &nuviscaViewerAppDelegate::tableViewSelectionDidChange);
    connect(combobox1_, &QComboBox::currentIndexChanged, this,
            &nuviscaViewerAppDelegate::combobox1SelChange);
    connect(combobox2_, &QComboBox::currentIndexChanged, this,
            &nuviscaViewerAppDelegate::combobox2SelChange);
    connect(window.button(1), &QPushButton::clicked, this,
            &nuviscaViewerAppDelegate::onClickedButton1);
    connect(window.button(2), &QPushButton::clicked, this,
            &nuviscaViewerAppDelegate::onClickedButton2);
    connect(window.button(3), &QPushButton::clicked, this,
            &nuviscaViewerAppDelegate::onClickedButton3);
    connect(window.button(4), &QPushButton::clicked, this,
            &nuviscaViewerAppDelegate::onClickedButton4);
    connect(window.button(5), &QPushButton::clicked, this,
            &nuviscaViewerAppDelegate::onClickedButton5);
    connect(&window, &MainWindow::filesDropped, this, &nuviscaViewerAppDelegate::addFiles);
}

void nuviscaViewerAppDelegate::combobox1SelChange() {
    store_.zoomIndex = combobox1_->currentIndex();
    dataViewUpdate();
}

void nuviscaViewerAppDelegate::combobox2SelChange() {
    store_.averageWindow = combobox2_->currentIndex();
    Create_Av_data(store_);
    dataViewUpdate();
}

void nuviscaViewerAppDelegate::tableViewSelectionDidChange() {
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

bool nuviscaViewerAppDelegate::loadListedFile(int row) {
    const QString& path = list_.filepathList.at(row);
    switch (store_.listSource) {
        case 2:
            return loadDeviceRecording(path, store_, view_);
        case 1:
            return loadRecordingByExtension(path, store_, view_);
        default:
            return false;
    }
}

void nuviscaViewerAppDelegate::setLoadedFile(int row) {
    const QByteArray name = row >= 0 ? list_.tableFilename.at(row).toUtf8() : QByteArray();
    setCurrentFileName(store_, name.constData(), static_cast<std::size_t>(name.size()));
    loadedPath_ = row >= 0 ? list_.filepathList.at(row) : QString();
    if (window_ && row >= 0) {
        window_->clearStatus();
    }
}

void nuviscaViewerAppDelegate::onClickedButton4() {
    printView page(store_, view_);
    PrintSettings& settings = *printSettings_;
    applyPrintViewSettings(settings);
    dialogs_.openPageSetup(settings.printer, window_);
    if (dialogs_.confirmPrint(settings.printer, window_) && !printPage(settings, page)) {
        dialogs_.showWarning(window_, QStringLiteral("印刷できませんでした。"
                                                     "プリンタの設定を確かめてください。"));
    }
}

void nuviscaViewerAppDelegate::averageAndRedrawIfLoaded() {
    if (store_.sampleCount > 0) {
        if (store_.averageWindow > 0) {
            Create_Av_data(store_);
        }
        dataViewUpdate();
    }
}

void nuviscaViewerAppDelegate::onClickedButton3() {
    if (list_.isEmpty() || store_.sampleCount == 0) {
        return;
    }
    const QString path = dialogs_.chooseExportPath(window_);
    if (!path.isEmpty()) {
        saveNVDFile(path);
    }
}

void nuviscaViewerAppDelegate::saveNVDFile(const QString& path) {
    ExportSeries series = ExportSeries::Measured;
    if (store_.averageWindow > 0 && dialogs_.askApplyMovingAverage(window_)) {
        series = ExportSeries::Averaged;
    }
    if (!nuvisca::saveNVDFile(toFileSystemPath(path), store_, series)) {
        dialogs_.showWarning(window_,
                             QStringLiteral("「%1」に書き出せませんでした。"
                                            "保存先のフォルダと空き容量を確かめてください。")
                                 .arg(QDir::toNativeSeparators(path)));
    }
}

void nuviscaViewerAppDelegate::reportUnreadable(const QString& fileName) {
    if (window_) {
        window_->showStatus(
            QStringLiteral("「%1」は読み込めませんでした。表示中の記録はそのままです。")
                .arg(fileName));
    }
}

int nuviscaViewerAppDelegate::selectedRow() const {
    if (!tableView_ || !tableView_->selectionModel()) {
        return -1;
    }
    const QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void nuviscaViewerAppDelegate::selectRow(int row) {
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

void nuviscaViewerAppDelegate::scrollToRow(int row) {
    if (tableView_ && row >= 0) {
        tableView_->scrollTo(model_->index(row, 0));
    }
}

void nuviscaViewerAppDelegate::reloadTable() {
    model_->reloadData();
}

void nuviscaViewerAppDelegate::dataViewUpdate() {
    if (mDataView) {
        mDataView->dataViewUpdate();
    }
}

}  // namespace nuvisca
