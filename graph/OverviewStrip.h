#pragma once

#include <QPixmap>
#include <QWidget>

#include "graph/Overview.h"

namespace nuvisca {

// The whole recording's rSO2 and toHb in miniature under the graph, restarts and markers as
// lines and the visible range as a box. A click centres the range there; dragging moves it.
// The miniature is drawn once per recording, average or marker change; a range change
// repaints only the box.
class OverviewStrip : public QWidget {
    Q_OBJECT

public:
    explicit OverviewStrip(ViewModel& model, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    OverviewScale scale() const;
    void drawMiniature();
    void moveTo(double x);

    ViewModel& model_;
    QPixmap miniature_;
    bool miniatureStale_ = true;
    bool dragging_ = false;
    OverviewGrab grab_;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
