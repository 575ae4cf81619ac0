#pragma once

#include <cstdint>
#include <vector>

#include "graph/Painter.h"

namespace nuvisca {

// floor() without the library call, as it runs for every point drawn; 0 for what no pixel
// could hold.
inline std::int64_t floorOf(double v) {
    if (!(v > -1e15 && v < 1e15)) {
        return 0;
    }
    const auto c = static_cast<std::int64_t>(v);
    return static_cast<double>(c) > v ? c - 1 : c;
}

// The pixel column of x: floor(x x pixelsPerUnit).
inline std::int64_t columnOf(double x, double pixelsPerUnit) {
    return floorOf(x * pixelsPerUnit);
}

// Turns runs of points, fed as a path is built (x not decreasing along a run), into the device
// pixels a line of that width along them covers: one span per device column and run, holding
// the column's points and the joins to its neighbours, widened by the line's width. Nothing is
// kept of a run but its columns' lowest and highest y, so a dense trace never becomes a path.
class ColumnSpanBuilder {
public:
    // Clears `spans` and appends to it.
    ColumnSpanBuilder(double pixelsPerUnit, double lineWidth, std::vector<ColumnSpan>& spans);

    void begin(PointF point);
    void lineTo(PointF point) {
        const std::int64_t column = columnOf(point.x, pixelsPerUnit_);
        if (open_ && column == lastColumn_) {
            // Most points of a dense trace: the segment's start is in the column already.
            drawn_ = true;
            lastX_ = point.x * pixelsPerUnit_;
            lastY_ = point.y * pixelsPerUnit_;
            double& low = low_.back();
            double& high = high_.back();
            low = lastY_ < low ? lastY_ : low;
            high = lastY_ > high ? lastY_ : high;
            return;
        }
        if (open_ && column == lastColumn_ + 1) {
            // The join to the next column, which crosses the one boundary between them.
            drawn_ = true;
            const double x1 = point.x * pixelsPerUnit_;
            const double y1 = point.y * pixelsPerUnit_;
            const double slope = x1 > lastX_ ? (y1 - lastY_) / (x1 - lastX_) : 0.0;
            const double crossing = lastY_ + slope * (static_cast<double>(column) - lastX_);
            double& low = low_.back();
            double& high = high_.back();
            low = crossing < low ? crossing : low;
            high = crossing > high ? crossing : high;
            low_.push_back(crossing < y1 ? crossing : y1);
            high_.push_back(crossing > y1 ? crossing : y1);
            lastX_ = x1;
            lastY_ = y1;
            lastColumn_ = column;
            return;
        }
        lineAcross(point, column);
    }
    // Extends the open run, whose last point is in the column of `last`, by points of that column
    // reaching from `lowY` to `highY`, ending at `last`: a dense column's points at once.
    void extendColumn(double lowY, double highY, PointF last) {
        drawn_ = true;
        lastX_ = last.x * pixelsPerUnit_;
        lastY_ = last.y * pixelsPerUnit_;
        double& low = low_.back();
        double& high = high_.back();
        const double lowest = lowY * pixelsPerUnit_;
        const double highest = highY * pixelsPerUnit_;
        low = lowest < low ? lowest : low;
        high = highest > high ? highest : high;
    }
    void end();

private:
    void lineAcross(PointF point, std::int64_t column);
    void touch(std::int64_t column, double y);

    double pixelsPerUnit_;
    double half_;
    std::int64_t reach_;
    std::vector<ColumnSpan>& spans_;
    bool open_ = false;
    bool drawn_ = false;  // whether the open run has a second point
    double lastX_ = 0.0;  // device pixels
    double lastY_ = 0.0;
    std::int64_t lastColumn_ = 0;
    std::int64_t firstColumn_ = 0;
    std::vector<double> low_;  // the open run's columns from firstColumn_
    std::vector<double> high_;
};

}  // namespace nuvisca
