#pragma once

#include <QImage>
#include <QPainter>

#include "bench/BenchRecording.h"
#include "bench/GuiApplication.h"
#include "bench/PlainQtPainter.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"

namespace nuvisca::bench {

constexpr int kSceneWidth = 1800;
constexpr int kSceneHeight = 900;

// The loaded full recording in a 1800 x 900 graph view with all four traces shown.
struct GraphScene {
    LoadedRecording recording{kSceneWidth, kSceneHeight};
    bool drawnBefore = true;  // as a view that has drawn the recording before
    QImage image{QSize(kSceneWidth, kSceneHeight), QImage::Format_ARGB32_Premultiplied};

    // widened: the whole recording Shift-dragged into the plot; else the 900 slots after a load.
    explicit GraphScene(bool widened) {
        ensureGuiApplication();
        recording.view.traceShown = {true, true, true, true};
        if (widened) {
            recording.view.viewEnd = kSampleCapacity;
        }
        image.fill(Qt::white);
        settleView(recording.view, recording.model.zoomIndex(), onScreenBounds(image.size()));
    }

    void draw() {
        QPainter painter(&image);
        paintGraph(painter, image.size(), recording.model, recording.view, drawnBefore);
    }

    // The baseline: every run stroked as one polyline through all of its points.
    void drawPlain() {
        QPainter painter(&image);
        PlainQtPainter plain(painter, image.height());
        drawGraph(plain, recording.model, recording.view, drawnBefore, kOnScreenStyle);
    }
};

}  // namespace nuvisca::bench
