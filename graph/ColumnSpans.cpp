#include "graph/ColumnSpans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nuvisca {

ColumnSpanBuilder::ColumnSpanBuilder(double pixelsPerUnit, double lineWidth,
                                     std::vector<ColumnSpan>& spans)
    : pixelsPerUnit_(pixelsPerUnit),
      half_(lineWidth * pixelsPerUnit / 2.0),
      reach_(std::max<std::int64_t>(1, std::llround(half_))),
      spans_(spans) {
    spans_.clear();
}

void ColumnSpanBuilder::begin(PointF point) {
    end();
    open_ = true;
    lastX_ = point.x * pixelsPerUnit_;
    lastY_ = point.y * pixelsPerUnit_;
    lastColumn_ = columnOf(point.x, pixelsPerUnit_);
    firstColumn_ = lastColumn_;
    low_.assign(1, lastY_);
    high_.assign(1, lastY_);
}

void ColumnSpanBuilder::touch(std::int64_t column, double y) {
    const auto i = static_cast<std::size_t>(column - firstColumn_);
    if (i >= low_.size()) {
        low_.resize(i + 1, std::numeric_limits<double>::infinity());
        high_.resize(i + 1, -std::numeric_limits<double>::infinity());
    }
    low_[i] = std::min(low_[i], y);
    high_[i] = std::max(high_[i], y);
}

void ColumnSpanBuilder::lineAcross(PointF point, std::int64_t to) {
    if (!open_) {
        begin(point);
        return;
    }
    drawn_ = true;
    const double x0 = lastX_;
    const double y0 = lastY_;
    const double x1 = point.x * pixelsPerUnit_;
    const double y1 = point.y * pixelsPerUnit_;
    const double slope = x1 > x0 ? (y1 - y0) / (x1 - x0) : 0.0;
    for (std::int64_t c = lastColumn_; c <= to; ++c) {
        const double ya = y0 + slope * (std::max(x0, static_cast<double>(c)) - x0);
        const double yb = c == to ? y1 : y0 + slope * (static_cast<double>(c + 1) - x0);
        touch(c, std::min(ya, yb));
        touch(c, std::max(ya, yb));
    }
    lastX_ = x1;
    lastY_ = y1;
    lastColumn_ = std::max(lastColumn_, to);
}

void ColumnSpanBuilder::end() {
    if (open_ && drawn_) {
        // Each column takes the lowest and highest y of the run's columns within reach; spans
        // cover the pixels whose centres the widened line reaches.
        const double* low = low_.data();
        const double* high = high_.data();
        const auto count = static_cast<std::int64_t>(low_.size());
        const std::int64_t reach = reach_;
        const auto emit = [&](std::int64_t i, double bottom, double top) {
            if (bottom <= top) {
                spans_.push_back({static_cast<std::int32_t>(firstColumn_ + i),
                                  static_cast<std::int32_t>(-floorOf(-(bottom - half_ - 0.5))),
                                  static_cast<std::int32_t>(floorOf(top + half_ - 0.5))});
            }
        };
        const auto window = [&](std::int64_t i) {
            const std::int64_t from = std::max<std::int64_t>(i - reach + 1, 0);
            const std::int64_t to = std::min(i + reach, count - 1);
            double bottom = low[from];
            double top = high[from];
            for (std::int64_t k = from + 1; k <= to; ++k) {
                bottom = low[k] < bottom ? low[k] : bottom;
                top = high[k] > top ? high[k] : top;
            }
            emit(i, bottom, top);
        };
        // Where the window lies wholly in the run, as for all but a few columns, a line two
        // pixels wide (one point at two pixels a point) reaches one column back and two on.
        const std::int64_t inside = count - reach;
        std::int64_t i = -reach;
        for (; i < std::min<std::int64_t>(reach - 1, inside); ++i) {
            window(i);
        }
        if (reach == 2) {
            for (; i < inside; ++i) {
                const double b0 = low[i - 1] < low[i] ? low[i - 1] : low[i];
                const double b1 = low[i + 1] < low[i + 2] ? low[i + 1] : low[i + 2];
                const double t0 = high[i - 1] > high[i] ? high[i - 1] : high[i];
                const double t1 = high[i + 1] > high[i + 2] ? high[i + 1] : high[i + 2];
                emit(i, b0 < b1 ? b0 : b1, t0 > t1 ? t0 : t1);
            }
        }
        for (; i < count - 1 + reach; ++i) {
            window(i);
        }
    }
    open_ = false;
    drawn_ = false;
}

}  // namespace nuvisca
