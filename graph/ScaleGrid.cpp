#include "graph/ScaleGrid.h"

#include <cstdio>
#include <string>

#include "graph/GraphColours.h"
#include "graph/SafeMath.h"

namespace nuvisca {
namespace {

std::int32_t gridLines(const GraphLayout& layout) {
    return truncToInt(10.0f * layout.zoomExtra + 10.0f);
}

void drawGrid(Painter& painter, const GraphLayout& layout) {
    PolylinePath grid;
    for (std::int32_t k = 0; k <= gridLines(layout); ++k) {
        const float product = static_cast<float>(k) * layout.plotHeight;
        const double y = truncToInt(static_cast<double>(product) * 0.2 + 0.5) + layout.base;
        if (y > kPlotMargin && y < static_cast<double>(layout.plotHeight) + kPlotMargin) {
            grid.begin({kPlotMargin, y});
            grid.lineTo({static_cast<double>(layout.width) - kPlotMargin, y});
        }
    }
    painter.strokePath(grid, kGridColour, 2.0);
}

// The percent scale takes 1 decimal and the index scale 3: all that any zoom's step needs.
std::string formatScaleValue(float value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%2.*f", decimals, static_cast<double>(value));
    return text;
}

constexpr double kScaleFontSize = 18.0;

constexpr double kPercentLabelX = 14.0;

// Inside the frame as far as the percent labels stand from its left side.
double indexLabelX(Painter& painter, const GraphLayout& layout, const std::string& label) {
    return layout.width - kPercentLabelX - painter.textWidth(label, kScaleFontSize);
}

}  // namespace

double indexScaleLeft(Painter& painter, const GraphLayout& layout) {
    return indexLabelX(painter, layout, formatScaleValue(0.0f, 3));
}

double percentScaleRight(Painter& painter) {
    return kPercentLabelX + painter.textWidth(formatScaleValue(100.0f, 1), kScaleFontSize);
}

void drawGridAndScales(Painter& painter, const GraphLayout& layout,
                       std::optional<Rgba> background) {
    drawGrid(painter, layout);

    const TextAttributes attributes{kScaleFontSize, kLabelColour, background};
    for (std::int32_t k = 0; k <= gridLines(layout); ++k) {
        const float y = static_cast<float>(k) * layout.plotHeight / 5.0f +
                        static_cast<float>(layout.base) + 2.0f;
        if (!(y > kPlotMargin && y < layout.plotHeight - 8.0f)) {
            continue;
        }
        const float percent = 20.0f * static_cast<float>(k) / layout.zoomFactor;
        if (percent >= 0.0f && percent <= 100.0f) {
            painter.drawText({kPercentLabelX, y}, formatScaleValue(percent, 1), attributes);
        }
        const float index = 0.2f * static_cast<float>(k) / layout.zoomFactor;
        if (index >= 0.0f && index <= 1.0f) {
            const std::string label = formatScaleValue(index, 3);
            painter.drawText({indexLabelX(painter, layout, label), y}, label, attributes);
        }
    }
}

}  // namespace nuvisca
