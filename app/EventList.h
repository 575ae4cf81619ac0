#pragma once

#include <QWidget>

#include "graph/ViewModel.h"

class QLabel;
class QTableWidget;

namespace nuvisca {

// The desaturation events of the shown recording, or of its selection when there is one, one
// row each, and their sums. A click on a row shows the range from the event's start.
class EventList final : public QWidget {
    Q_OBJECT
public:
    explicit EventList(ViewModel& model, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QLabel* sums() const { return sums_; }

private:
    void refill();

    ViewModel& model_;
    Desaturations shown_;
    QTableWidget* table_;
    QLabel* sums_;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
