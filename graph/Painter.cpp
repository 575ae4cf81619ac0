#include "graph/Painter.h"

namespace nuvisca {

void PolylinePath::clear() {
    mPoints.clear();
    mRunStarts.clear();
    mOpen = false;
}

std::span<const PointF> PolylinePath::run(std::size_t index) const {
    const std::size_t first = mRunStarts[index];
    const std::size_t next = index + 1 < mRunStarts.size() ? mRunStarts[index + 1] : mPoints.size();
    return {mPoints.data() + first, next - first};
}

}  // namespace nuvisca
