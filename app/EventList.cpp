#include "app/EventList.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "graph/RangeNavigation.h"
#include "graph/ReviewTexts.h"

namespace nuvisca {
namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

EventList::EventList(ViewModel& model, QWidget* parent)
    : QWidget(parent), model_(model), table_(new QTableWidget(this)), sums_(new QLabel(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->addWidget(table_, 1);
    column->addWidget(sums_);
    table_->setColumnCount(4);
    table_->setHorizontalHeaderLabels({QStringLiteral("開始"), QStringLiteral("持続時間"),
                                       QStringLiteral("最低値"), QStringLiteral("面積")});
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int /*column*/) {
        const auto& events = shown_.events;
        if (row >= 0 && static_cast<std::size_t>(row) < events.size()) {
            showRangeStartingAt(model_, events[static_cast<std::size_t>(row)].start);
        }
    });
    subscription_ = Subscription(model_, [this](unsigned changes) {
        if ((changes & (kRecordingChanged | kSeriesChanged | kReviewChanged | kSelectionChanged)) !=
            0) {
            refill();
        }
    });
    refill();
}

void EventList::refill() {
    const Recording& store = model_.recording();
    const SlotSpan selection = model_.selection();
    const ReviewSettings& review = model_.review();
    shown_ = selection.empty()
                 ? model_.desaturations()
                 : findDesaturations(store, model_.averaged(), selection.start, selection.end,
                                     review.effectiveThreshold(), review.minimumSeconds);
    const Desaturations& found = shown_;
    table_->setRowCount(static_cast<int>(found.events.size()));
    for (std::size_t k = 0; k < found.events.size(); ++k) {
        const std::array<std::string, 4> texts = eventRowTexts(store, found.events[k]);
        for (std::size_t c = 0; c < texts.size(); ++c) {
            table_->setItem(static_cast<int>(k), static_cast<int>(c),
                            cell(QString::fromStdString(texts[c])));
        }
    }
    sums_->setText((selection.empty() ? QString() : QStringLiteral("選択範囲 ")) +
                   QString::fromStdString(eventSumsText(found)));
}

}  // namespace nuvisca
