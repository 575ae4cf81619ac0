#include "graph/ScaleGrid.h"

#include <cmath>
#include <cstdio>

#include "graph/GraphColours.h"
#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

int leftDecimals(float gridStep) {
    if (gridStep >= 1.0f) {
        return 1;
    }
    if (gridStep >= 0.1f) {
        return 2;
    }
    return gridStep >= 0.01f ? 3 : 4;
}

struct RightScale {
    int decimals;
    float xFromRight;
};

RightScale rightScale(float halfStep) {
    if (halfStep >= 0.01f) {
        return {3, 59.0f};
    }
    if (halfStep >= 0.001f) {
        return {4, 68.0f};
    }
    return halfStep >= 0.0001f ? RightScale{5, 77.0f} : RightScale{6, 86.0f};
}

std::int32_t gridLines(const DrawFrame& frame) {
    return truncToInt(10.0f * frame.zoomExtra + 10.0f);
}

void drawGrid(Painter& painter, const DrawFrame& frame) {
    PolylinePath grid;
    for (std::int32_t k = 0; k <= gridLines(frame); ++k) {
        const float product = static_cast<float>(k) * frame.plotHeight;
        const double y = truncToInt(static_cast<double>(product) * 0.2 + 0.5) + frame.base;
        if (y > 10.0 && y < frame.plotHeight + 10.0) {
            grid.begin({10.0, y});
            grid.lineTo({frame.width - 10.0, y});
        }
    }
    painter.strokePath(grid, kGridColour, 2.0);
}

}  // namespace

std::string formatScaleValue(float value, int decimals) {
    if (std::fabs(value) <= 0.00001f) {
        value = 0.0f;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%2.*f", decimals, static_cast<double>(value));
    return text;
}

void drawGridAndScales(Painter& painter, const DrawFrame& frame, TextAttributes& attributes) {
    drawGrid(painter, frame);

    attributes.fontSize = 18.0;
    attributes.foreground = kLabelColour;
    const int left = leftDecimals(20.0f / frame.zoomFactor);
    const RightScale right = rightScale(0.1f / frame.zoomFactor);
    for (std::int32_t k = 0; k <= gridLines(frame); ++k) {
        const float y =
            static_cast<float>(k) * frame.plotHeight / 5.0f + static_cast<float>(frame.base) + 2.0f;
        if (!(y > 10.0f && y < frame.plotHeight - 8.0f)) {
            continue;
        }
        const float percent = 20.0f * static_cast<float>(k) / frame.zoomFactor;
        if (percent >= 0.0f && percent <= 100.0f) {
            painter.drawText({14.0, y}, formatScaleValue(percent, left), attributes);
        }
        const float index = 0.2f * static_cast<float>(k) / frame.zoomFactor;
        if (index >= 0.0f && index <= 1.0f) {
            painter.drawText({frame.width - right.xFromRight, y},
                             formatScaleValue(index, right.decimals), attributes);
        }
    }
}

}  // namespace nuvisca
