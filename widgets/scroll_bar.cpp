#include "widgets/scroll_bar.h"
#include "widgets/accessibility_events.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace widgets {

// Across the bar, the groove takes this share of the thickness and the
// thumb's capsule this share; both keep a small gap to their ends.
constexpr double grooveShare = 0.3;
constexpr double thumbShare = 0.55;
constexpr double endGap = 2;

ScrollBar::ScrollBar(Qt::Orientation orientation, const ScrollBarLook& look, QWidget* parent)
    : QWidget(parent)
    , orientation_(orientation)
    , look_(look)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    fade_.setDuration(look_.thumbFadeMs);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& opacity) {
        thumbOpacity_ = opacity.toDouble();
        update();
    });
}

void ScrollBar::setRange(double min, double max)
{
    min_ = min;
    max_ = std::max(min, max);
    setValue(value_);
    update();
}

void ScrollBar::setValue(double value)
{
    value = std::clamp(value, min_, max_);
    if (value == value_)
        return;
    value_ = value;
    update();
    announceValueChange(this, value_);
    emit valueChanged();
}

double ScrollBar::length() const
{
    return orientation_ == Qt::Vertical ? height() : width();
}

double ScrollBar::thickness() const
{
    return orientation_ == Qt::Vertical ? width() : height();
}

double ScrollBar::along(QPointF point) const
{
    return orientation_ == Qt::Vertical ? point.y() : point.x();
}

QRectF ScrollBar::span(double start, double extent, double acrossInset) const
{
    const double across = thickness() - 2 * acrossInset;
    return orientation_ == Qt::Vertical ? QRectF(acrossInset, start, across, extent)
                                        : QRectF(start, acrossInset, extent, across);
}

double ScrollBar::travel() const
{
    return std::max(0.0, length() - 2 * look_.buttonLength - thickness());
}

double ScrollBar::thumbStart() const
{
    const double fraction = max_ > min_ ? (value_ - min_) / (max_ - min_) : 0;
    return look_.buttonLength + travel() * fraction;
}

double ScrollBar::valueAt(double thumbCentre) const
{
    if (travel() <= 0)
        return min_;
    const double start = thumbCentre - thickness() / 2 - look_.buttonLength;
    return min_ + std::clamp(start / travel(), 0.0, 1.0) * (max_ - min_);
}

void ScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const double pointer = along(event->position());
    if (pointer < look_.buttonLength)
        return setValue(value_ - smallChange_);
    if (pointer >= length() - look_.buttonLength)
        return setValue(value_ + smallChange_);
    const double thumbCentre = thumbStart() + thickness() / 2;
    const bool onThumb = std::abs(pointer - thumbCentre) <= thickness() / 2;
    grabOffset_ = onThumb ? pointer - thumbCentre : 0;
    if (!onThumb)
        setValue(valueAt(pointer));
    dragging_ = true;
    setThumbHovered(true);
}

void ScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    const double pointer = along(event->position());
    if (dragging_)
        setValue(valueAt(pointer - grabOffset_));
    const QRectF thumb = span(thumbStart(), thickness(), 0);
    setThumbHovered(dragging_ || thumb.contains(event->position()));
}

void ScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    dragging_ = false;
    setThumbHovered(span(thumbStart(), thickness(), 0).contains(event->position()));
}

void ScrollBar::leaveEvent(QEvent*)
{
    if (!dragging_)
        setThumbHovered(false);
}

void ScrollBar::setThumbHovered(bool hovered)
{
    if (hovered == thumbHovered_)
        return;
    thumbHovered_ = hovered;
    fade_.stop();
    fade_.setStartValue(thumbOpacity_);
    fade_.setEndValue(hovered ? look_.thumbHoverOpacity : 1.0);
    fade_.start();
}

static QPainterPath capsule(const QRectF& rect)
{
    const double radius = std::min(rect.width(), rect.height()) / 2;
    QPainterPath path;
    path.addRoundedRect(strokeRect(rect), radius, radius);
    return path;
}

void ScrollBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Qt::Orientation across = orientation_ == Qt::Vertical ? Qt::Horizontal : Qt::Vertical;

    // The arrow buttons and the track share one fill inside the frame.
    QPainterPath frame;
    frame.addRect(strokeRect(rect()));
    paintShape(painter, frame, look_.buttonFill, look_.frame, across);

    painter.setPen(Qt::NoPen);
    painter.setBrush(look_.arrow);
    const double middle = thickness() / 2;
    const double halfWidth = look_.arrowWidth / 2;
    for (const double direction : {-1.0, 1.0}) {
        const double centre = direction < 0 ? look_.buttonLength / 2.0 : length() - look_.buttonLength / 2.0;
        const double tip = centre + direction * look_.arrowLength / 2;
        const double base = centre - direction * look_.arrowLength / 2;
        const auto at = [this](double a, double c) {
            return orientation_ == Qt::Vertical ? QPointF(c, a) : QPointF(a, c);
        };
        painter.drawPolygon(QPolygonF{at(tip, middle), at(base, middle - halfWidth), at(base, middle + halfWidth)});
    }

    const double grooveInset = std::round(thickness() * (1 - grooveShare) / 2);
    const double trackLength = length() - 2 * look_.buttonLength;
    paintShape(painter, capsule(span(look_.buttonLength + endGap, trackLength - 2 * endGap, grooveInset)),
               look_.grooveFill, look_.grooveOutline);

    const double thumbInset = std::round(thickness() * (1 - thumbShare) / 2);
    painter.setOpacity(thumbOpacity_);
    paintShape(painter, capsule(span(thumbStart() + 1, thickness() - 2, thumbInset)),
               look_.thumbFill, look_.thumbOutline, across);
}

}
