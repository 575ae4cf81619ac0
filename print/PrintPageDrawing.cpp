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

std::string_view printableFileName(const ViewModel& model) {
    const std::string_view name = model.fileName();
    return isValidUtf8(name) ? name : std::string_view();
}

bool drawPrintPage(Painter& painter, const ViewModel& model, bool drawnBefore) {
    const GraphViewState& view = model.view();
    const Recording& store = model.recording();
    const PageSize page = printPageSize(view);
    painter.fillRect({0.0, 0.0, page.width, page.height}, kWhite);
    const bool drew = drawGraph(painter, model, view, drawnBefore,
                                kPrintPageStyle);  // The band's text lies on what the graph's last
                                                   // text left: the time labels' white.
    const TextAttributes attributes{kHeadingRowHeight, kBlack,
                                    carriedTextBackground(drew || drawnBefore)};
    const double y = view.viewHeight;
    const std::string_view name = printableFileName(model);
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
    return drew;
}

}  // namespace nuvisca
