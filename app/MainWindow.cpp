#include "app/MainWindow.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include "graph/GraphView.h"
#include "graph/OverviewStrip.h"

namespace nuvisca {

namespace {

QLabel* captionFor(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

MainWindow::MainWindow(GraphView* graph, QWidget* parent)
    : QMainWindow(parent),
      graph_(graph),
      title_(new QLabel(this)),
      table_(new QTableView(this)),
      zoomBox_(new QComboBox(this)),
      averageBox_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("nuvisca Viewer"));
    setAcceptDrops(true);

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
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle);
    table_->setAlternatingRowColors(true);

    auto* listPanel = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(table_, 1);
    listLayout->addLayout(buttonRow);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(listPanel);
    auto* graphPanel = new QWidget(splitter);
    auto* graphLayout = new QVBoxLayout(graphPanel);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    graphLayout->addWidget(graph_, 1);
    graphLayout->addWidget(new OverviewStrip(*graph_, graphPanel));
    splitter->addWidget(graphPanel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({520, 1200});

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
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    statusBar();
}

QPushButton* MainWindow::button(WindowButton which) const {
    return buttons_[static_cast<std::size_t>(which)];
}

void MainWindow::showStatus(const QString& message) {
    statusBar()->showMessage(message);
}

void MainWindow::clearStatus() {
    statusBar()->clearMessage();
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
