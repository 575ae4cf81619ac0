#include "graph/Painter.h"

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

}  // namespace nuvisca
