#include "print/PrintPageDrawing.h"

#include <algorithm>

#include "formats/Utf8Text.h"
#include "graph/GraphColours.h"
#include "graph/GraphPageStyle.h"
#include "graph/GraphRenderer.h"

namespace nuvisca {

PageSize printPageSize(const GraphViewState& view) {
    return {view.viewWidth, static_cast<double>(view.viewHeight) + kHeaderBandHeight};
}

std::string_view printableFileName(const MeasurementStore& store) {
    const auto& name = store.currentFileName;
    const auto end = std::find(name.begin(), name.end(), '\0');
    const std::string_view text(name.data(), static_cast<std::size_t>(end - name.begin()));
    return isValidUtf8(text) ? text : std::string_view();
}

void drawPrintPage(Painter& painter, const MeasurementStore& store, const GraphViewState& view,
                   TextAttributes& attributes) {
    const PageSize page = printPageSize(view);
    painter.fillRect({0.0, 0.0, page.width, page.height}, kWhite);
    drawGraph(painter, store, view, attributes, kPrintPageStyle);

    attributes.fontSize = kHeadingRowHeight;
    attributes.foreground = kBlack;
    const double y = view.viewHeight;
    const std::string_view name = printableFileName(store);
    double nameRight = 0.0;
    if (!name.empty()) {
        painter.drawText({kPlotMargin, y}, name, attributes);
        nameRight = kPlotMargin + painter.textWidth(name, attributes.fontSize);
    }
    if (store.sampleCount > 0) {
        // At the band's right end, or a row higher where a long name reaches it.
        const std::string device = deviceIdLabel(store);
        const double right = static_cast<double>(view.viewWidth) - kPlotMargin;
        const double x =
            std::max(double{kPlotMargin}, right - painter.textWidth(device, attributes.fontSize));
        const bool besideName = nameRight + kHeadingRowHeight <= x;
        painter.drawText({x, besideName ? y : y + 2.0 * kHeadingRowHeight}, device, attributes);
    }
}

}  // namespace nuvisca
