#include "graph/MarkerMarks.h"

#include "graph/GraphColours.h"
#include "graph/LineLabels.h"
#include "graph/SafeMath.h"
#include "graph/ScaleGrid.h"
#include "graph/TimeAxis.h"

namespace nuvisca {
namespace {

bool inVisibleRange(const Marker& marker, const GraphLayout& layout) {
    return marker.slot >= layout.start && marker.slot < layout.last;
}

double plotTop(const GraphLayout& layout) {
    return double{kPlotMargin} + static_cast<double>(layout.plotHeight);
}

// Under the lower row of clock labels.
double labelRowY(const GraphLayout& layout, std::size_t row) {
    return static_cast<double>(timeLabelRowY(layout, 1)) -
           kMarkerRowPitch * static_cast<double>(row + 1);
}

}  // namespace

void drawMarkerBands(Painter& painter, const Markers& markers, const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    for (const Marker& marker : markers) {
        if (marker.durationSlots > 0) {
            shadeSlots(painter, layout, {marker.slot, marker.endSlot()}, kMarkerBand);
        }
    }
}

void drawMarkerLines(Painter& painter, const Markers& markers, const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    PolylinePath lines;
    bool any = false;
    for (const Marker& marker : markers) {
        if (inVisibleRange(marker, layout)) {
            const double x = truncToInt(layout.slotX(marker.slot));
            appendDashedLine(lines, {x, kPlotMargin}, {x, plotTop(layout)}, kDashLength, kDashGap);
            any = true;
        }
    }
    if (any) {
        painter.strokePath(lines, kMarkerColour, kMarkerLineWidth);
    }
}

void drawMarkerLabels(Painter& painter, const Markers& markers, const GraphLayout& layout) {
    if (!layout.hasVisibleSlots()) {
        return;
    }
    const TextAttributes attributes{kMarkerFontSize, kMarkerLabelColour, kWhite};
    const double indexLeft = indexScaleLeft(painter, layout);
    const double percentRight = percentScaleRight(painter);
    LabelRows rows;
    for (const Marker& marker : markers) {
        if (!inVisibleRange(marker, layout) || marker.label.empty()) {
            continue;
        }
        // A label finds a row from its line on at the latest, on either side; one that finds
        // none is left out unmeasured, so a crowd of markers costs little.
        const std::int32_t x = truncToInt(layout.slotX(marker.slot));
        if (!rows.freeAt(x)) {
            continue;
        }
        const double width = painter.textWidth(marker.label, attributes.fontSize);
        const LineLabelPlace place = placeBesideLine(x, width, indexLeft, percentRight);
        const std::optional<std::size_t> row =
            place.shown ? rows.placeIfFree(place.left - 4.0, place.left + width + 4.0)
                        : std::nullopt;
        if (row) {
            painter.drawText({place.left, labelRowY(layout, *row)}, marker.label, attributes);
        }
    }
}

}  // namespace nuvisca
