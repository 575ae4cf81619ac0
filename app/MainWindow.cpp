#include "app/MainWindow.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include "app/EventList.h"
#include "app/FileListModel.h"
#include "app/MarkerList.h"
#include "app/StatisticsPanel.h"
#include "graph/GraphView.h"
#include "graph/OverviewStrip.h"

namespace nuvisca {

namespace {

const QString kProgramName = QStringLiteral("nuvisca Viewer");
// The graph's legend, both scales and its date line stay whole down to this size.
constexpr QSize kGraphMinimum(760, 380);
const char16_t* const kZoomItems[] = {u"1/2倍", u"  1倍", u"  2倍", u"  4倍", u"  8倍"};
constexpr int kAverageItems = 30;

QString titleHtml() {
    // "nuvisca " in light blue, " Viewer" in the label's own colour, 24 points.
    return QStringLiteral(
        "<span style=\"white-space:pre; font-size:24px\">"
        "<span style=\"color:rgba(102,204,255,1.0)\">nuvisca </span> Viewer</span>");
}

QLabel* captionFor(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

MainWindow::MainWindow(ViewModel& model, QWidget* parent)
    : QMainWindow(parent),
      graph_(new GraphView(model)),
      title_(new QLabel(this)),
      table_(new QTableView(this)),
      zoomBox_(new QComboBox(this)),
      averageBox_(new QComboBox(this)),
      deviceLabel_(new QLabel(this)) {
    setWindowTitle(kProgramName);
    setAcceptDrops(true);
    title_->setTextFormat(Qt::RichText);
    title_->setText(titleHtml());

    static const char16_t* const kButtonTexts[] = {u"メディアから取り込み", u"ファイルを追加",
                                                   u"CSV書き出し", u"印刷", u"リストから削除"};
    auto* buttonRow = new QVBoxLayout;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = new QPushButton(QString::fromUtf16(kButtonTexts[i]), this);
        buttonRow->addWidget(buttons_[i]);
    }

    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle);
    table_->setAlternatingRowColors(true);

    auto* listPanel = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(table_, 1);
    listLayout->addLayout(buttonRow);

    // Room for a number, a device file name and a start date; the graph takes the rest.
    const QFontMetrics metrics = table_->fontMetrics();
    const int listWidth =
        metrics.horizontalAdvance(QStringLiteral("000 short-3min.NVD 2013年07月15日 09:05:30")) +
        6 * metrics.averageCharWidth() + table_->verticalScrollBar()->sizeHint().width();
    listPanel->setMinimumWidth(buttonRow->sizeHint().width());
    graph_->setMinimumSize(kGraphMinimum);
    graph_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(listPanel);
    auto* graphPanel = new QWidget(splitter_);
    auto* graphLayout = new QVBoxLayout(graphPanel);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    graphLayout->addWidget(graph_, 1);
    graphLayout->addWidget(new OverviewStrip(model, graphPanel));
    statistics_ = new StatisticsPanel(model, graphPanel);
    // The events and the markers share one place, so the window stays as narrow as before.
    reviewTabs_ = new QTabWidget(graphPanel);
    events_ = new EventList(model, reviewTabs_);
    markers_ = new MarkerList(model, reviewTabs_);
    reviewTabs_->addTab(events_, QStringLiteral("低下イベント"));
    reviewTabs_->addTab(markers_, QStringLiteral("マーカー"));
    reviewTabs_->setDocumentMode(true);
    reviewTabs_->setFixedHeight(statistics_->sizeHint().height());
    reviewTabs_->setMinimumWidth(320);
    auto* review = new QHBoxLayout;
    review->addWidget(statistics_, 1);
    review->addWidget(reviewTabs_);
    graphLayout->addLayout(review);
    splitter_->addWidget(graphPanel);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setCollapsible(0, false);
    splitter_->setCollapsible(1, false);
    splitter_->setSizes({listWidth, 4 * listWidth});

    fillBoxes();
    for (QComboBox* box : {zoomBox_, averageBox_}) {
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
    }
    auto* header = new QHBoxLayout;
    header->addWidget(title_);
    header->addStretch(1);
    header->addWidget(captionFor(QStringLiteral("表示倍率"), this));
    header->addWidget(zoomBox_);
    header->addSpacing(16);
    header->addWidget(captionFor(QStringLiteral("移動平均"), this));
    header->addWidget(averageBox_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(header);
    layout->addWidget(splitter_, 1);
    setCentralWidget(central);
    statusBar()->addPermanentWidget(deviceLabel_);
    buildMenus();
}

void MainWindow::fillBoxes() {
    for (const char16_t* item : kZoomItems) {
        zoomBox_->addItem(QString::fromUtf16(item));
    }
    zoomBox_->setCurrentIndex(1);
    for (int n = 1; n <= kAverageItems; ++n) {
        averageBox_->addItem(QString::asprintf("%d", n));
    }
    averageBox_->setCurrentIndex(0);
    averageBox_->setMaxVisibleItems(kAverageItems);
}

void MainWindow::placeOnScreen(QSizeF available) {
    const double width = 0.95 * available.width();
    const double height = 0.99 * available.height();
    if (width > 0.0 && height > 0.0) {
        // Qt counts y from the top.
        const double top = available.height() - height;
        setGeometry(static_cast<int>(0.025 * available.width()), static_cast<int>(top),
                    static_cast<int>(width), static_cast<int>(height));
    }
}

void MainWindow::setFileListModel(FileListModel* model) {
    table_->setModel(model);
    // The number and the date stay whole; a long name gives way, elided in the middle (its
    // tooltip holds the full path).
    table_->horizontalHeader()->setSectionResizeMode(FileListModel::kNameColumn,
                                                     QHeaderView::Stretch);
}

QPushButton* MainWindow::button(WindowButton which) const {
    return buttons_[static_cast<std::size_t>(which)];
}

void MainWindow::showRecording(const QString& fileName, const QString& deviceId) {
    setWindowTitle(fileName.isEmpty() ? kProgramName
                                      : QStringLiteral("%1 — %2").arg(fileName, kProgramName));
    deviceLabel_->setText(deviceId.isEmpty() ? QString()
                                             : QStringLiteral("装置ID %1").arg(deviceId));
}

void MainWindow::showMarkerList() {
    reviewTabs_->setCurrentWidget(markers_);
}

void MainWindow::showMarkerCount(std::size_t count) {
    reviewTabs_->setTabText(
        reviewTabs_->indexOf(markers_),
        count == 0 ? QStringLiteral("マーカー") : QStringLiteral("マーカー（%1）").arg(count));
}

void MainWindow::showStatus(const QString& message) {
    statusBar()->showMessage(message);
}

void MainWindow::clearStatus() {
    statusBar()->clearMessage();
}

QString MainWindow::statusText() const {
    return statusBar()->currentMessage();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Q_EMIT closing();
    QMainWindow::closeEvent(event);
}

// A wheel turned over a box it has not focused scrolls nothing rather than changing it.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        Q_EMIT filesDropped(paths);
    }
}

}  // namespace nuvisca
