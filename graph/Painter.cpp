#include "graph/Painter.h"

namespace nuvisca {

void PolylinePath::clear() {
    mPoints.clear();
    mRunStarts.clear();
    mOpen = false;
}

void PolylinePath::begin(PointF point) {
    mRunStarts.push_back(mPoints.size());
    mPoints.push_back(point);
    mOpen = true;
}

void PolylinePath::lineTo(PointF point) {
    if (!mOpen) {
        begin(point);
        return;
    }
    mPoints.push_back(point);
}

std::span<const PointF> PolylinePath::run(std::size_t index) const {
    const std::size_t first = mRunStarts[index];
    const std::size_t next = index + 1 < mRunStarts.size() ? mRunStarts[index + 1] : mPoints.size();
    return {mPoints.data() + first, next - first};
}

}  // namespace nuvisca
