#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "print/printView.h"

namespace nuvisca::test {

// The page as it draws at one pixel per point.
inline QImage pageImage(printView& page) {
    const PageSize frame = page.frame();
    QImage image(static_cast<int>(frame.width), static_cast<int>(frame.height),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);  // the page must paint every pixel itself
    QPainter painter(&image);
    page.drawRect(painter);
    painter.end();
    return image;
}

// The bounds and count of the pixels within `area` that are not white.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    int count = 0;
};

inline InkBox inkIn(const QImage& image, const QRect& area) {
    InkBox box{area.right() + 1, area.bottom() + 1, -1, -1, 0};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y), box.count + 1};
            }
        }
    }
    return box;
}

}  // namespace nuvisca::test
