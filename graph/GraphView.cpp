#include "graph/GraphView.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
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

GraphView::GraphView(ViewModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    GraphViewState& view = model_.editView();
    view.mouseDownInPlot = false;
    view.controlDrag = false;
    view.shiftDrag = false;
    view.selecting = false;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    subscription_ = Subscription(model_, [this](unsigned changes) {
        if ((changes & kZoomChanged) != 0) {
            settle(size());
        }
        redrawGraph();
        placeReadout(cursor_);
    });
}

QImage GraphView::image(qreal ratio) const {
    return renderGraphImage(model_, model_.view(), size(), drawnRecording_, ratio);
}

void GraphView::redrawGraph() {
    pictureStale_ = true;
    update();
}

GraphViewState& GraphView::settle(QSize size) {
    GraphViewState& view = model_.editView();
    settleView(view, model_.zoomIndex(), onScreenBounds(size));
    return view;
}

void GraphView::paintEvent(QPaintEvent* /*event*/) {
    const GraphViewState& view = model_.view();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        pictureStale_ = true;
    }
    if (pictureStale_) {
        drawnRecording_ =
            frame_.paint(picture_, size(), model_, view, drawnRecording_) || drawnRecording_;
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
    GraphViewState& view = settle(event->size());
    // The overview box and the statistics follow a range the new width widened.
    applyRange(view, rangeAfterResize(view, model_.recording()));
    model_.commitView();
}

void GraphView::forward(Handler handler, const QMouseEvent& event) {
    const QPointF position = event.position();
    const PointF point{position.x(), height() - position.y()};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (handler(model_.editView(), model_, point, shiftHeld(modifiers), controlHeld(modifiers),
                altHeld(modifiers))) {
        // A drag in progress moves only the picture; the model hears of the range it leaves.
        redrawGraph();
    }
    settle(size());
    model_.commitView();
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
    const GraphViewState& view = model_.view();
    const Recording& recording = model_.recording();
    if (!canNavigate(view, recording)) {
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
    VisibleRange range{view.viewStart, view.viewEnd};
    if (along != 0) {
        // A notch scrolls a tenth of the range; rolling away from the user goes later.
        const double length = static_cast<double>(view.viewEnd) - view.viewStart;
        range = rangeScrolledBy(view, recording, -along * length / (10.0 * kWheelNotch));
    } else if (angle.y() != 0) {
        const QPointF at = event->position();
        const auto x = static_cast<float>(at.x());
        const auto y = static_cast<float>(height() - at.y());
        if (!layoutGraph(model_, view).insidePlot(x, y, 0.0f)) {
            event->ignore();
            return;
        }
        const double notches = static_cast<double>(angle.y()) / kWheelNotch;
        range = zoomedRange(view, recording, x, std::pow(kZoomStep, -notches));
    }
    model_.showRange(range);
}

std::optional<std::int32_t> GraphView::markerSlot(std::optional<QPointF> at) const {
    const std::int32_t count = model_.recording().sampleCount;
    if (count <= 0) {
        return std::nullopt;
    }
    if (at) {
        if (const std::optional<std::int32_t> slot = slotInPlot(*at)) {
            return slot;
        }
    } else if (readout_) {
        return readout_->slot;
    }
    const GraphViewState& view = model_.view();
    return std::clamp((view.viewStart + view.viewEnd) / 2, 0, count - 1);
}

std::unique_ptr<QMenu> GraphView::contextMenu(QPointF at) {
    auto menu = std::make_unique<QMenu>(this);
    QAction* add = menu->addAction(QStringLiteral("マーカーを追加…"));
    const std::optional<std::int32_t> slot = markerSlot(at);
    add->setEnabled(slot.has_value());
    connect(add, &QAction::triggered, this, [this, slot] {
        if (slot) {
            Q_EMIT markerRequested(*slot);
        }
    });
    return menu;
}

void GraphView::contextMenuEvent(QContextMenuEvent* event) {
    // A Control-click that became the right button drags the traces instead.
    if (kControlClickIsRightButton && controlHeld(event->modifiers())) {
        return;
    }
    placeReadout(std::nullopt);
    const std::unique_ptr<QMenu> menu = contextMenu(event->pos());
    menu->exec(event->globalPos());
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<std::int32_t> slot =
        event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier
            ? slotInPlot(event->position())
            : std::nullopt;
    if (!slot) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    Q_EMIT markerRequested(*slot);
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !model_.selection().empty()) {
        model_.setSelection({});
        return;
    }
    if (event->key() == Qt::Key_M && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        if (const std::optional<std::int32_t> slot = markerSlot()) {
            Q_EMIT markerRequested(*slot);
        }
        return;
    }
    const std::optional<NavigationKey> key = navigationKey(event->key());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    navigate(model_.editView(), model_.recording(), model_.zoomIndex(), *key);
    model_.commitView();
}

QRect GraphView::ReadoutOverlay::covered() const {
    return box.united(QRect(hairlineX - 1, plotTop, 3, plotBottom - plotTop + 1));
}

std::optional<std::int32_t> GraphView::slotInPlot(QPointF at) const {
    GraphViewState settled = model_.view();
    settleView(settled, model_.zoomIndex(), onScreenBounds(size()));
    const GraphLayout layout = layoutGraph(model_, settled);
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(height() - at.y());
    if (settled.mouseDownInPlot || !layout.insidePlot(x, y, 0.0f)) {
        return std::nullopt;
    }
    return slotUnder(layout, model_.recording(), x);
}

std::optional<GraphView::ReadoutOverlay> GraphView::readoutFor(QPointF cursor) const {
    const std::optional<std::int32_t> slot = slotInPlot(cursor);
    if (!slot) {
        return std::nullopt;
    }
    GraphViewState settled = model_.view();
    settleView(settled, model_.zoomIndex(), onScreenBounds(size()));
    const GraphLayout layout = layoutGraph(model_, settled);
    const Readout readout = readoutAt(model_, settled.traceShown, *slot);
    ReadoutOverlay overlay;
    overlay.slot = *slot;
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
