#include "graph/GraphHeader.h"

#include <array>

#include "graph/GraphColours.h"
#include "store/RecordingDate.h"

namespace nuvisca {
namespace {

struct LegendEntry {
    Rgba colour;
    double left;
    const char* text;
    double textX;
    double markerX;
    double right;
};

constexpr std::array<LegendEntry, 4> kLegend{{
    {kOxhbColour, 120.0, "OXHB]", 156.0, 132.0, 228.0},
    {kDxhbColour, 240.0, "DXHB]", 276.0, 252.0, 348.0},
    {kTohbColour, 360.0, "TOHB]", 396.0, 372.0, 468.0},
    {kRso2Colour, 480.0, "rSO2]", 516.0, 492.0, 588.0},
}};

}  // namespace

std::string recordingDateLine(const MeasurementStore& store) {
    return "測定日時 " + formatDate(recordingStart(store), DateStyle::Heading) + " 終了時刻 " +
           formatTimeOfDay(recordingEnd(store), DateStyle::Heading);
}

void drawHeadings(Painter& painter, const MeasurementStore& store, const DrawFrame& frame,
                  TextAttributes& attributes) {
    attributes.fontSize = 18.0;
    attributes.foreground = kBlack;
    const double y = frame.height - 60.0;
    painter.drawText({10.0, y}, "rSO2[%]", attributes);
    painter.drawText({frame.width - 73.0, y}, "[Index]", attributes);
    if (store.sampleCount > 0) {
        painter.drawText({120.0, y}, recordingDateLine(store), attributes);
    }
}

void drawLegend(Painter& painter, GraphViewState& view, const DrawFrame& frame,
                TextAttributes& attributes) {
    attributes.fontSize = kLegendRowHeight;
    const double y = frame.height - 34.0;
    for (std::size_t k = 0; k < kLegend.size(); ++k) {
        const LegendEntry& entry = kLegend[k];
        attributes.foreground = entry.colour;
        painter.drawText({entry.left, y}, "[", attributes);
        painter.drawText({entry.textX, y}, entry.text, attributes);
        view.legendLeft[k] = static_cast<float>(entry.left);
        view.legendBottom[k] = frame.height - 34.0f;
        view.legendRight[k] = static_cast<float>(entry.right);
        view.legendTop[k] = frame.height - 10.0f;
    }
    for (std::size_t k = 0; k < kLegend.size(); ++k) {
        const RectF marker{kLegend[k].markerX, frame.height - 29.0, 18.0, 18.0};
        if (view.traceShown[k] != 0) {
            painter.fillRect(marker, kLegend[k].colour);
        } else {
            painter.strokeRect(marker, kLegend[k].colour, 1.0);
        }
    }
}

}  // namespace nuvisca
