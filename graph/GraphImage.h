#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// Paints the graph as the on-screen view of that size draws it, from a state settled at
// that size, in one pass on any painter (vector output too). The view's frames lay the same
// steps out in layers, to the same pixels.
bool paintGraph(QPainter& painter, QSize size, const ViewModel& model, const GraphViewState& view,
                bool drawnBefore);

// The picture the view shows, drawn as its frames are, in a new image of size times
// devicePixelRatio pixels: the widget, the image output and the tests agree pixel for pixel.
QImage renderGraphImage(const ViewModel& model, const GraphViewState& view, QSize size,
                        bool drawnBefore, qreal devicePixelRatio = 1.0);

// The bounds of an on-screen view of that size; the widget passes view-local points to the
// mouse handlers, so its origin is (0, 0).
ViewBounds onScreenBounds(QSize size);

}  // namespace nuvisca
