#pragma once

#include <QWidget>
#include <array>

#include "store/MeasurementStore.h"

class QDoubleSpinBox;
class QLabel;

namespace nuvisca {

class GraphView;

// A channel's figures in the panel, left to right.
enum class StatisticsColumn { Count, Mean, Min, Max };

// Count, mean, minimum and maximum of each channel over the visible range of the shown series,
// and the time and area of rSO2 below a threshold; worded and rounded as `nuvisca stats` prints.
class StatisticsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsPanel(GraphView& graph, QWidget* parent = nullptr);

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

    GraphView& graph_;
    std::array<std::array<QLabel*, 4>, kChannelCount> figures_{};  // indexed by Channel
    QDoubleSpinBox* thresholdBox_;
    QLabel* belowSeconds_;
    QLabel* belowArea_;
};

}  // namespace nuvisca
