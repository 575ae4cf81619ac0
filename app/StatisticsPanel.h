#pragma once

#include <QWidget>
#include <array>

#include "graph/ViewModel.h"

class QDoubleSpinBox;
class QLabel;

namespace nuvisca {

// A channel's figures in the panel, left to right.
enum class StatisticsColumn { Count, Mean, Min, Max };

// Count, mean, minimum and maximum of each channel over the visible range of the shown series,
// and the time and area of rSO2 below a threshold; worded and rounded as `nuvisca stats` prints.
class StatisticsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsPanel(ViewModel& model, QWidget* parent = nullptr);
    ~StatisticsPanel() override;

    double threshold() const;
    void setThreshold(double percent);

    QLabel* figure(Channel channel, StatisticsColumn column) const;
    QLabel* belowSeconds() const { return belowSeconds_; }
    QLabel* belowArea() const { return belowArea_; }
    QDoubleSpinBox* thresholdBox() const { return thresholdBox_; }

Q_SIGNALS:
    void thresholdChanged(double percent);

private:
    void refresh();

    ViewModel& model_;
    int subscription_ = 0;
    std::array<std::array<QLabel*, 4>, kChannelCount> figures_{};  // indexed by Channel
    QDoubleSpinBox* thresholdBox_;
    QLabel* belowSeconds_;
    QLabel* belowArea_;
};

}  // namespace nuvisca
