#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// Paints the graph as the on-screen view of that size draws it. The widget, the image
// output and the tests all come through here, so they agree pixel for pixel.
void paintGraph(QPainter& painter, QSize size, const MeasurementStore& store, GraphViewState& view,
                TextAttributes& attributes);

// The same picture in a new image.
QImage renderGraphImage(const MeasurementStore& store, GraphViewState& view, QSize size,
                        TextAttributes& attributes);

}  // namespace nuvisca
