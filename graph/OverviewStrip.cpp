#include "graph/OverviewStrip.h"

#include <QMouseEvent>
#include <QPainter>

#include "graph/GraphColours.h"
#include "graph/MarkerMarks.h"
#include "graph/QtPainter.h"
#include "graph/RangeNavigation.h"
#include "graph/ReviewMarks.h"

namespace nuvisca {
namespace {

constexpr int kStripHeight = 48;
constexpr double kInset = 1.0;  // room for the frame

}  // namespace

OverviewStrip::OverviewStrip(ViewModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    subscription_ = Subscription(model_, [this](unsigned changes) {
        if ((changes & (kRecordingChanged | kSeriesChanged | kMarkersChanged)) != 0) {
            miniatureStale_ = true;
        }
        update();
    });
}

QSize OverviewStrip::sizeHint() const {
    return {400, kStripHeight};
}

OverviewScale OverviewStrip::scale() const {
    return overviewScale(model_.recording(), width() - 2.0 * kInset);
}

void OverviewStrip::drawMiniature() {
    const qreal ratio = devicePixelRatioF();
    miniature_ = QPixmap((QSizeF(size()) * ratio).toSize());
    miniature_.setDevicePixelRatio(ratio);
    miniature_.fill(Qt::white);
    QPainter painter(&miniature_);
    const Recording& store = model_.recording();
    const OverviewScale strip = scale();
    const double plotHeight = height() - 2.0 * kInset;
    const auto columns = static_cast<std::int32_t>(strip.width * ratio);
    if (store.sampleCount > 0 && columns > 0) {
        painter.setPen(QPen(toQColor(kRed), 0.0));
        for (const std::int32_t slot : restartSlots(store)) {
            const double x = kInset + strip.xOf(slot);
            painter.drawLine(QPointF(x, kInset), QPointF(x, kInset + plotHeight));
        }
        painter.setPen(QPen(toQColor(kMarkerColour), 0.0));
        for (const Marker& marker : model_.markers()) {
            if (marker.slot >= 0 && marker.slot < store.sampleCount) {
                const double x = kInset + strip.xOf(marker.slot);
                painter.drawLine(QPointF(x, kInset), QPointF(x, kInset + plotHeight));
            }
        }
        for (const Channel channel : {kTohb, kRso2}) {
            painter.setPen(QPen(toQColor(traceColour(channel)), 0.0));
            const auto values = overviewColumns(model_, channel, columns);
            for (std::size_t c = 0; c < values.size(); ++c) {
                if (!values[c].hasValue) {
                    continue;
                }
                const double x = kInset + (static_cast<double>(c) + 0.5) / ratio;
                const double low = kInset + plotHeight * (1.0 - values[c].low);
                const double high = kInset + plotHeight * (1.0 - values[c].high);
                painter.drawLine(QPointF(x, low), QPointF(x, high));
            }
        }
    }
    painter.setPen(QPen(toQColor(kGridColour), 0.0));
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
    miniatureStale_ = false;
}

void OverviewStrip::paintEvent(QPaintEvent* /*event*/) {
    if (miniatureStale_ || miniature_.deviceIndependentSize() != QSizeF(size())) {
        drawMiniature();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, miniature_);
    if (model_.recording().sampleCount <= 0) {
        return;
    }
    const OverviewScale strip = scale();
    const auto shade = [&](SlotSpan span, const Rgba& colour) {
        const double left = kInset + strip.xOf(span.start);
        const double right = kInset + strip.xOf(span.end);
        painter.fillRect(QRectF(left, kInset, std::max(right - left, 1.0), height() - 2.0 * kInset),
                         toQColor(colour));
    };
    for (const DesaturationEvent& event : model_.desaturations().events) {
        shade({event.start, event.end}, kEventShade);
    }
    if (!model_.selection().empty()) {
        shade(model_.selection(), kSelectionShade);
    }
    const OverviewBox box = overviewBox(model_.view(), strip);
    const QRectF rect(kInset + box.left, kInset, std::max(box.right - box.left, 2.0),
                      height() - 2.0 * kInset - 1.0);
    painter.fillRect(rect, QColor(0, 0, 0, 28));
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    painter.drawRect(rect);
}

void OverviewStrip::moveTo(double x) {
    showRangeStartingAt(
        model_, overviewRange(model_.view(), model_.recording(), scale(), grab_, x - kInset).start);
}

void OverviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || model_.recording().sampleCount <= 0) {
        return;
    }
    dragging_ = true;
    grab_ = grabOverview(model_.view(), scale(), event->position().x() - kInset);
    moveTo(event->position().x());
}

void OverviewStrip::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && event->buttons().testFlag(Qt::LeftButton)) {
        moveTo(event->position().x());
    }
}

void OverviewStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
}

}  // namespace nuvisca
