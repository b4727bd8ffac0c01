#include "widgets/arc_dial.h"
#include "widgets/accessibility_events.h"
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace widgets {

ArcDial::ArcDial(const DialLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
    setFocusPolicy(Qt::NoFocus);
}

void ArcDial::setValue(double value)
{
    if (value == value_)
        return;
    value_ = value;
    update();
    announceValueChange(this, value_);
    emit valueChanged();
}

QString ArcDial::valueText(double value)
{
    // lrint rounds halves to even under the default rounding mode, and
    // unlike nearbyint never yields "-0".
    return QString::number(std::lrint(value)) + QChar(0x00B0);
}

QRectF ArcDial::face() const
{
    const double side = std::min(width(), height());
    QRectF square(0, 0, side, side);
    square.moveCenter(QRectF(rect()).center());
    return square;
}

void ArcDial::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = face();
    QPainterPath circle;
    circle.addEllipse(strokeRect(square));
    paintShape(painter, circle, look_.fill, look_.outline);

    const double radians = value_ * std::numbers::pi / 180;
    const double reach = square.width() / 2 - look_.dotInset - look_.dotSize / 2;
    const QPointF dotCentre = square.center() + QPointF(std::cos(radians), -std::sin(radians)) * reach;
    QRectF dot(0, 0, look_.dotSize, look_.dotSize);
    dot.moveCenter(dotCentre);
    painter.setPen(QPen(look_.dotOutline, 1));
    painter.setBrush(look_.dotFill);
    painter.drawEllipse(strokeRect(dot));

    painter.setFont(look_.font);
    painter.setPen(look_.text);
    painter.drawText(square, Qt::AlignCenter, valueText(value_));
}

void ArcDial::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    dragging_ = true;
}

void ArcDial::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return QWidget::mouseMoveEvent(event);
    // Screen y grows downwards; the dial's angles grow counter-clockwise.
    const QPointF centre = face().center();
    const QPointF pointer = event->position();
    setValue(std::atan2(centre.y() - pointer.y(), pointer.x() - centre.x()) * 180 / std::numbers::pi);
}

void ArcDial::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    dragging_ = false;
}

}
