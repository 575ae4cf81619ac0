#include "graph/Painter.h"

#include <algorithm>
#include <cmath>

namespace nuvisca {

void PolylinePath::clear() {
    points_.clear();
    runStarts_.clear();
    open_ = false;
}

std::span<const PointF> PolylinePath::run(std::size_t index) const {
    const std::size_t first = runStarts_[index];
    const std::size_t next = index + 1 < runStarts_.size() ? runStarts_[index + 1] : points_.size();
    return {points_.data() + first, next - first};
}

void appendDashedLine(PolylinePath& path, PointF from, PointF to, double dash, double gap) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length <= 0.0 || dash <= 0.0) {
        return;
    }
    const auto at = [&](double along) {
        return PointF{from.x + dx * along / length, from.y + dy * along / length};
    };
    for (double along = 0.0; along < length; along += dash + std::max(gap, 0.0)) {
        path.begin(at(along));
        path.lineTo(at(std::min(along + dash, length)));
    }
    path.end();
}

}  // namespace nuvisca
