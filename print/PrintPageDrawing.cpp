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
    const std::string_view name = printableFileName(store);
    if (!name.empty()) {
        painter.drawText({10.0, view.viewHeight}, name, attributes);
    }
}

}  // namespace nuvisca
