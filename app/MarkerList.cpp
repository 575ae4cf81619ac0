#include "app/MarkerList.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "graph/MarkerEntry.h"
#include "graph/RangeNavigation.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

MarkerList::MarkerList(ViewModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      table_(new QTableWidget(this)),
      edit_(new QPushButton(QStringLiteral("編集…"), this)),
      delete_(new QPushButton(QStringLiteral("削除"), this)),
      phase_(new QPushButton(QStringLiteral("区間を選択"), this)) {
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {edit_, delete_, phase_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    table_->setColumnCount(3);
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("時刻"), QStringLiteral("ラベル"), QStringLiteral("持続時間")});
    table_->verticalHeader()->setVisible(false);
    // Rows as high as the text, so that the short panel shows several.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setWordWrap(false);
    table_->setToolTip(QStringLiteral(
        "2つの行を選ぶと「区間を選択」でその間を、1つならその次のマーカーまでを選択します。"));

    auto* remove = new QAction(QStringLiteral("削除"), table_);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(remove);
    connect(remove, &QAction::triggered, this, &MarkerList::removeChosen);
    connect(delete_, &QPushButton::clicked, this, &MarkerList::removeChosen);
    connect(phase_, &QPushButton::clicked, this, &MarkerList::selectPhase);
    connect(edit_, &QPushButton::clicked, this, [this] {
        const std::vector<std::size_t> rows = chosenRows();
        if (rows.size() == 1) {
            Q_EMIT editRequested(rows.front());
        }
    });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int /*column*/) {
        Q_EMIT editRequested(static_cast<std::size_t>(row));
    });
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int /*column*/) {
        const Markers& markers = model_.markers();
        if (row >= 0 && static_cast<std::size_t>(row) < markers.size()) {
            showRangeStartingAt(model_, markers[static_cast<std::size_t>(row)].slot);
        }
    });
    connect(table_, &QTableWidget::itemSelectionChanged, this, &MarkerList::enableButtons);
    subscription_ = Subscription(model_, [this](unsigned changes) {
        if ((changes & (kRecordingChanged | kMarkersChanged)) != 0) {
            refill();
        }
    });
    refill();
}

void MarkerList::refill() {
    const Markers& markers = model_.markers();
    const Recording& store = model_.recording();
    table_->setRowCount(static_cast<int>(markers.size()));
    for (std::size_t k = 0; k < markers.size(); ++k) {
        const Marker& marker = markers[k];
        const std::array<QTableWidgetItem*, 3> cells{
            cell(QString::fromStdString(formatClock(clockTimeOf(store, marker.slot))),
                 Qt::AlignRight),
            cell(QString::fromStdString(marker.label), Qt::AlignLeft),
            cell(marker.durationSlots > 0
                     ? QString::fromStdString(formatSlotsDuration(marker.durationSlots))
                     : QString(),
                 Qt::AlignRight)};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            table_->setItem(static_cast<int>(k), static_cast<int>(c), cells[c]);
        }
    }
    enableButtons();
}

std::vector<std::size_t> MarkerList::chosenRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MarkerList::enableButtons() {
    const std::size_t chosen = chosenRows().size();
    edit_->setEnabled(chosen == 1);
    delete_->setEnabled(chosen >= 1);
    phase_->setEnabled(chosen >= 1);
}

void MarkerList::removeChosen() {
    const std::vector<std::size_t> rows = chosenRows();
    // From the last, so that the indexes of the others hold.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        model_.removeMarker(*row);
    }
}

void MarkerList::selectPhase() {
    const std::vector<std::size_t> rows = chosenRows();
    if (rows.empty()) {
        return;
    }
    const std::optional<std::size_t> second =
        rows.size() >= 2 ? std::optional(rows.back()) : std::nullopt;
    if (const std::optional<SlotSpan> span =
            phaseBetween(model_.markers(), rows.front(), second, model_.recording().sampleCount)) {
        model_.setSelection(*span);
        showRangeStartingAt(model_, span->start);
    }
}

}  // namespace nuvisca
