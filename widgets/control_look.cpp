#include "widgets/control_look.h"
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace widgets {

static QLinearGradient gradientOver(const QRectF& rect, const QGradientStops& stops, Qt::Orientation direction)
{
    QLinearGradient gradient(rect.topLeft(), direction == Qt::Vertical ? rect.bottomLeft() : rect.topRight());
    gradient.setStops(stops);
    return gradient;
}

void paintShape(QPainter& painter, const QPainterPath& shape, const QGradientStops& fill,
                const QColor& outline, Qt::Orientation direction)
{
    painter.fillPath(shape, gradientOver(shape.boundingRect(), fill, direction));
    // Filled as an outline shape: the painter's own 1-pixel strokes cut the
    // corner pixels of a rectangle.
    QPainterPathStroker stroker;
    stroker.setWidth(1);
    stroker.setJoinStyle(Qt::MiterJoin);
    painter.fillPath(stroker.createStroke(shape), outline);
}

int glowWidth(const Glow& glow)
{
    return 1 + static_cast<int>(std::lround(glow.softness * 15));
}

// A glow is a stack of 1-pixel rings, each one pixel further from the edge
// and fainter, which reads as a soft blur without an offscreen pass.
static void paintGlowRings(QPainter& painter, const QRectF& rect, double radius, const Glow& glow, int step)
{
    const int width = glowWidth(glow);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= width; ++ring) {
        const double fade = 1.0 - (ring - 0.5) / width;
        QColor colour = glow.colour;
        colour.setAlphaF(static_cast<float>(glow.opacity * fade * fade));
        painter.setPen(QPen(colour, 1));
        const double offset = ring * step;
        painter.drawRoundedRect(rect.adjusted(offset, offset, -offset, -offset),
                                std::max(0.0, radius - offset), std::max(0.0, radius - offset));
    }
    painter.restore();
}

void paintInnerGlow(QPainter& painter, const QRectF& rect, double radius, const Glow& glow)
{
    paintGlowRings(painter, rect, radius, glow, 1);
}

void paintOuterGlow(QPainter& painter, const QRectF& rect, double radius, const Glow& glow)
{
    paintGlowRings(painter, rect, radius, glow, -1);
}

QRectF strokeRect(const QRectF& rect)
{
    return rect.adjusted(0.5, 0.5, -0.5, -0.5);
}

}
