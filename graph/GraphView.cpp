#include "graph/GraphView.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <cmath>

#include "graph/DragRule.h"
#include "graph/GraphColours.h"
#include "graph/GraphImage.h"
#include "graph/GraphLayout.h"
#include "graph/MouseInteraction.h"
#include "graph/MouseModifiers.h"
#include "graph/QtPainter.h"
#include "graph/RangeNavigation.h"
#include "graph/Readout.h"

namespace nuvisca {
namespace {

constexpr int kWheelNotch = 120;
constexpr int kReadoutFontPixels = 12;

std::optional<NavigationKey> navigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
            return NavigationKey::kBack;
        case Qt::Key_Right:
            return NavigationKey::kForward;
        case Qt::Key_PageUp:
            return NavigationKey::kPageBack;
        case Qt::Key_PageDown:
            return NavigationKey::kPageForward;
        case Qt::Key_Home:
            return NavigationKey::kToStart;
        case Qt::Key_End:
            return NavigationKey::kToEnd;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return NavigationKey::kZoomIn;
        case Qt::Key_Minus:
            return NavigationKey::kZoomOut;
        case Qt::Key_0:
            return NavigationKey::kWholeRecording;
        case Qt::Key_Up:
            return NavigationKey::kTracesUp;
        case Qt::Key_Down:
            return NavigationKey::kTracesDown;
        default:
            return std::nullopt;
    }
}

QFont readoutFont() {
    QFont font;
    font.setPixelSize(kReadoutFontPixels);
    return font;
}

}  // namespace

GraphView::GraphView(MeasurementStore& store, GraphViewState& view, QWidget* parent)
    : QWidget(parent), store_(store), view_(view) {
    view_.mouseDownInPlot = false;
    view_.controlDrag = false;
    view_.shiftDrag = false;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void GraphView::requestRedraw() {
    redrawGraph();
    placeReadout(cursor_);
    Q_EMIT contentChanged();
}

void GraphView::showRange(VisibleRange range) {
    if (canNavigate(view_, store_) &&
        applyRange(view_, rangeStartingAt(view_, store_, range.start))) {
        rangeMoved();
    }
}

void GraphView::redrawGraph() {
    pictureStale_ = true;
    update();
}

void GraphView::rangeMoved() {
    redrawGraph();
    placeReadout(cursor_);
    Q_EMIT rangeChanged();
}

void GraphView::paintEvent(QPaintEvent* /*event*/) {
    settleView(view_, store_.zoomIndex, onScreenBounds(size()));
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        pictureStale_ = true;
    }
    if (pictureStale_) {
        picture_.fill(Qt::white);
        QPainter graph(&picture_);
        paintGraph(graph, size(), store_, view_, attributes_);
        pictureStale_ = false;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0.0, 0.0), picture_);
    if (readout_) {
        paintReadout(painter, *readout_);
    }
}

void GraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    settleView(view_, store_.zoomIndex, onScreenBounds(event->size()));
    // The overview box and the statistics follow a range the new width widened.
    if (applyRange(view_, rangeAfterResize(view_, store_))) {
        rangeMoved();
    }
}

void GraphView::forward(Handler handler, const QMouseEvent& event) {
    const QPointF position = event.position();
    const PointF point{position.x(), height() - position.y()};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const VisibleRange before{view_.viewStart, view_.viewEnd};
    if (handler(view_, store_, point, shiftHeld(modifiers), controlHeld(modifiers))) {
        redrawGraph();
    }
    if (before != VisibleRange{view_.viewStart, view_.viewEnd}) {
        Q_EMIT rangeChanged();
    }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (pressesGraph(event->button(), event->modifiers())) {
        placeReadout(std::nullopt);
        forward(mouseDown, *event);
    }
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    if (dragsGraph(event->buttons())) {
        forward(mouseDragged, *event);
    } else if (event->buttons() == Qt::NoButton) {
        placeReadout(event->position());
    }
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (releasesGraph(event->button())) {
        forward(mouseUp, *event);
        placeReadout(event->position());
    }
}

void GraphView::leaveEvent(QEvent* /*event*/) {
    placeReadout(std::nullopt);
}

void GraphView::wheelEvent(QWheelEvent* event) {
    if (!canNavigate(view_, store_)) {
        event->ignore();
        return;
    }
    const QPoint angle = event->angleDelta();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    event->accept();
    if (controlHeld(modifiers)) {
        zoomWheelRest_ += angle.y();
        const int steps = zoomWheelRest_ / kWheelNotch;
        zoomWheelRest_ %= kWheelNotch;
        if (steps != 0) {
            Q_EMIT zoomStepRequested(steps);
        }
        return;
    }
    const int along = shiftHeld(modifiers) && angle.x() == 0 ? angle.y() : angle.x();
    VisibleRange range{view_.viewStart, view_.viewEnd};
    if (along != 0) {
        // A notch scrolls a tenth of the range; rolling away from the user goes later.
        const double length = static_cast<double>(view_.viewEnd) - view_.viewStart;
        range = rangeScrolledBy(view_, store_, -along * length / (10.0 * kWheelNotch));
    } else if (angle.y() != 0) {
        const QPointF at = event->position();
        const auto x = static_cast<float>(at.x());
        const auto y = static_cast<float>(height() - at.y());
        if (!layoutGraph(store_, view_).insidePlot(x, y, 0.0f)) {
            event->ignore();
            return;
        }
        const double notches = static_cast<double>(angle.y()) / kWheelNotch;
        range = zoomedRange(view_, store_, x, std::pow(kZoomStep, -notches));
    }
    if (applyRange(view_, range)) {
        rangeMoved();
    }
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    const std::optional<NavigationKey> key = navigationKey(event->key());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    const VisibleRange before{view_.viewStart, view_.viewEnd};
    if (navigate(view_, store_, *key)) {
        if (before != VisibleRange{view_.viewStart, view_.viewEnd}) {
            rangeMoved();
        } else {
            redrawGraph();
        }
    }
}

QRect GraphView::ReadoutOverlay::covered() const {
    return box.united(QRect(hairlineX - 1, plotTop, 3, plotBottom - plotTop + 1));
}

std::optional<GraphView::ReadoutOverlay> GraphView::readoutFor(QPointF cursor) const {
    GraphViewState settled = view_;
    settleView(settled, store_.zoomIndex, onScreenBounds(size()));
    const GraphLayout layout = layoutGraph(store_, settled);
    const auto x = static_cast<float>(cursor.x());
    const auto y = static_cast<float>(height() - cursor.y());
    if (settled.mouseDownInPlot || !layout.insidePlot(x, y, 0.0f)) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> slot = slotUnder(layout, store_, x);
    if (!slot) {
        return std::nullopt;
    }
    const Readout readout = readoutAt(store_, settled.traceShown, *slot);
    ReadoutOverlay overlay;
    overlay.hairlineX = static_cast<int>(layout.slotX(*slot));
    overlay.plotTop =
        static_cast<int>(static_cast<float>(height()) - kPlotMargin - layout.plotHeight);
    overlay.plotBottom = height() - static_cast<int>(kPlotMargin);
    overlay.lines.append(QString::fromStdString(readout.clock + "  " + readout.elapsed));
    overlay.colours.append(toQColor(kBlack));
    for (const ReadoutTrace& trace : readout.traces) {
        overlay.lines.append(QString::fromStdString(trace.text));
        overlay.colours.append(toQColor(traceColour(trace.channel)).darker(130));
    }
    const QFontMetrics metrics(readoutFont());
    int textWidth = 0;
    for (const QString& line : overlay.lines) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    }
    const QSize boxSize(textWidth + 12,
                        static_cast<int>(overlay.lines.size()) * metrics.height() + 8);
    int left = overlay.hairlineX + 8;
    if (left + boxSize.width() > width() - static_cast<int>(kPlotMargin)) {
        left = overlay.hairlineX - 8 - boxSize.width();
    }
    overlay.box = QRect(QPoint(left, overlay.plotTop + 4), boxSize);
    return overlay;
}

void GraphView::paintReadout(QPainter& painter, const ReadoutOverlay& overlay) const {
    painter.setPen(QPen(QColor(0, 0, 0, 140), 1.0));
    painter.drawLine(QPointF(overlay.hairlineX + 0.5, overlay.plotTop),
                     QPointF(overlay.hairlineX + 0.5, overlay.plotBottom));
    painter.fillRect(overlay.box, QColor(255, 255, 255, 230));
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawRect(overlay.box.adjusted(0, 0, -1, -1));
    painter.setFont(readoutFont());
    const QFontMetrics metrics(painter.font());
    int baseline = overlay.box.top() + 4 + metrics.ascent();
    for (qsizetype i = 0; i < overlay.lines.size(); ++i) {
        painter.setPen(overlay.colours.at(i));
        painter.drawText(QPoint(overlay.box.left() + 6, baseline), overlay.lines.at(i));
        baseline += metrics.height();
    }
}

void GraphView::placeReadout(std::optional<QPointF> cursor) {
    cursor_ = cursor;
    std::optional<ReadoutOverlay> next = cursor ? readoutFor(*cursor) : std::nullopt;
    if (readout_) {
        update(readout_->covered());
    }
    if (next) {
        update(next->covered());
    }
    readout_ = std::move(next);
}

}  // namespace nuvisca
