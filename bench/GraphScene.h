#pragma once

#include <QImage>
#include <QPainter>

#include "bench/BenchRecording.h"
#include "bench/GuiApplication.h"
#include "bench/PlainQtPainter.h"
#include "graph/GraphFrame.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"

namespace nuvisca::bench {

constexpr int kSceneWidth = 1800;
constexpr int kSceneHeight = 900;

// The loaded full recording in a 1800 x 900 graph view with all four traces shown.
struct GraphScene {
    LoadedRecording recording{kSceneWidth, kSceneHeight};
    bool drawnBefore = true;  // as a view that has drawn the recording before
    QImage image;
    GraphFrame frame;

    // widened: the whole recording Shift-dragged into the plot; else the 900 slots after a load.
    // The image has `ratio` device pixels a point.
    explicit GraphScene(bool widened, double ratio = 1.0)
        : image(QSize(kSceneWidth, kSceneHeight) * ratio, QImage::Format_ARGB32_Premultiplied) {
        ensureGuiApplication();
        image.setDevicePixelRatio(ratio);
        recording.view.traceShown = {true, true, true, true};
        if (widened) {
            recording.view.viewEnd = kSampleCapacity;
        }
        image.fill(Qt::white);
        settleView(recording.view, recording.model.zoomIndex(), onScreenBounds(size()));
    }

    static QSize size() { return {kSceneWidth, kSceneHeight}; }

    void draw() {
        QPainter painter(&image);
        paintGraph(painter, size(), recording.model, recording.view, drawnBefore);
    }

    // As the view draws its picture anew, a frame at a time.
    void redraw() { frame.paint(image, size(), recording.model, recording.view, drawnBefore); }

    // The baseline: every run stroked as one polyline through all of its points.
    void drawPlain() {
        QPainter painter(&image);
        PlainQtPainter plain(painter, image.height());
        drawGraph(plain, recording.model, recording.view, drawnBefore, kOnScreenStyle);
    }
};

}  // namespace nuvisca::bench
