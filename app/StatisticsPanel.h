#pragma once

#include <QWidget>
#include <array>

#include "graph/ViewModel.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace nuvisca {

// A channel's figures in the panel, left to right.
enum class StatisticsColumn { Count, Mean, Min, Max };

// Count, mean, minimum and maximum of each channel over the selection, or the visible range
// when there is none, of the shown series, and the time and area of rSO2 below the effective
// threshold; worded and rounded as `nuvisca stats` prints. The baseline is set here: from the
// selection, from the first minutes of the recording, or typed.
class StatisticsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsPanel(ViewModel& model, QWidget* parent = nullptr);

    double threshold() const;
    void setThreshold(double percent);

    QLabel* title() const { return title_; }
    QLabel* figure(Channel channel, StatisticsColumn column) const;
    QLabel* belowSeconds() const { return belowSeconds_; }
    QLabel* belowShare() const { return belowShare_; }
    QLabel* belowArea() const { return belowArea_; }
    QDoubleSpinBox* thresholdBox() const { return thresholdBox_; }
    QDoubleSpinBox* baselineBox() const { return baselineBox_; }
    QLabel* baselineMethod() const { return baselineMethod_; }
    QPushButton* baselineFromSelection() const { return fromSelection_; }
    QSpinBox* firstMinutesBox() const { return firstMinutesBox_; }
    QDoubleSpinBox* dropBox() const { return dropBox_; }
    QLabel* effectiveThreshold() const { return effective_; }

Q_SIGNALS:
    void thresholdChanged(double percent);

private:
    void refresh();
    void showBaseline();

    ViewModel& model_;
    std::array<std::array<QLabel*, 4>, kChannelCount> figures_{};  // indexed by Channel
    QLabel* title_;
    QDoubleSpinBox* thresholdBox_;
    QLabel* belowSeconds_;
    QLabel* belowShare_;
    QLabel* belowArea_;
    QDoubleSpinBox* baselineBox_;
    QLabel* baselineMethod_;
    QPushButton* fromSelection_;
    QSpinBox* firstMinutesBox_;
    QDoubleSpinBox* dropBox_;
    QLabel* effective_;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
