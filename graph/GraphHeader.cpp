#include "graph/GraphHeader.h"

#include "graph/GraphColours.h"
#include "store/RecordingDate.h"

namespace nuvisca {

std::string recordingDateLine(const Recording& store) {
    return "測定日時 " + formatDate(recordingStart(store), DateStyle::Heading) + " 終了時刻 " +
           formatTimeOfDay(recordingEnd(store), DateStyle::Heading);
}

std::string movingAverageLine(std::int32_t box) {
    return "移動平均 " + std::to_string(box);
}

void drawHeadings(Painter& painter, const ViewModel& model, const GraphLayout& layout,
                  std::optional<Rgba> background) {
    const Recording& store = model.recording();
    const TextAttributes attributes{kHeadingRowHeight, kBlack, background};
    const double y = layout.height - 60.0;
    const double indexLeft = layout.width - 73.0;
    painter.drawText({kPlotMargin, y}, kChannels[kRso2].heading, attributes);
    painter.drawText({indexLeft, y}, "[Index]", attributes);
    if (store.sampleCount <= 0) {
        return;
    }
    const std::string dateLine = recordingDateLine(store);
    painter.drawText({120.0, y}, dateLine, attributes);
    if (layout.averaged) {
        // A font size's width apart from its neighbours; left out where the view is too narrow.
        const std::string average = movingAverageLine(model.averageWindow() + 1);
        const double x =
            120.0 + painter.textWidth(dateLine, attributes.fontSize) + kHeadingRowHeight;
        if (x + painter.textWidth(average, attributes.fontSize) + kHeadingRowHeight <= indexLeft) {
            painter.drawText({x, y}, average, attributes);
        }
    }
}

void drawLegend(Painter& painter, const GraphViewState& view, const GraphLayout& layout,
                std::optional<Rgba> background) {
    const double y = layout.height - 34.0;
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        const double left = layout.legend[k].left;
        const TextAttributes attributes{kLegendRowHeight, traceColour(Channel{k}), background};
        painter.drawText({left, y}, "[", attributes);
        painter.drawText({left + 36.0, y}, std::string(kChannels[k].legendName) + ']', attributes);
    }
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        const RectF marker{layout.legend[k].left + 12.0, layout.height - 29.0, 18.0, 18.0};
        if (view.traceShown[k]) {
            painter.fillRect(marker, traceColour(Channel{k}));
        } else {
            painter.strokeRect(marker, traceColour(Channel{k}), 1.0);
        }
    }
}

}  // namespace nuvisca
