#pragma once

#include <QWidget>
#include <cstddef>
#include <vector>

#include "graph/ViewModel.h"

class QPushButton;
class QTableWidget;

namespace nuvisca {

// The markers of the shown recording, one row each: a click shows the range from the marker,
// a double click or 編集… asks to edit it, 削除 (or Delete) removes the chosen ones, and
// 区間を選択 selects the phase between two chosen markers, or from one to the next, and shows
// the range from its start.
class MarkerList final : public QWidget {
    Q_OBJECT
public:
    explicit MarkerList(ViewModel& model, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* phaseButton() const { return phase_; }

    void removeChosen();
    void selectPhase();

Q_SIGNALS:
    void editRequested(std::size_t index);

private:
    void refill();
    void enableButtons();
    // The chosen rows, in order.
    std::vector<std::size_t> chosenRows() const;

    ViewModel& model_;
    QTableWidget* table_;
    QPushButton* edit_;
    QPushButton* delete_;
    QPushButton* phase_;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
