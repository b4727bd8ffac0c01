#include "support/frame_probe.h"
#include <QtMath>

namespace frameprobe {

static QPoint pixelUnder(const QImage& frame, QPointF pos)
{
    const QPointF p = pos * frame.devicePixelRatio();
    return {qFloor(p.x()), qFloor(p.y())};
}

QColor colourAt(const QImage& frame, QPointF pos)
{
    return frame.pixelColor(pixelUnder(frame, pos));
}

bool near(QColor a, QColor b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

double litRun(const QImage& frame, QPointF pos, Qt::Orientation orientation)
{
    // Edge pixels the plane covers by half or more count as lit.
    auto lit = [&](QPoint p) {
        if (!frame.rect().contains(p))
            return false;
        const QColor c = frame.pixelColor(p);
        return qMax(c.red(), qMax(c.green(), c.blue())) >= 128;
    };
    const QPoint step = orientation == Qt::Horizontal ? QPoint(1, 0) : QPoint(0, 1);
    const QPoint start = pixelUnder(frame, pos);
    int length = lit(start) ? 1 : 0;
    for (QPoint p = start + step; length && lit(p); p += step)
        ++length;
    for (QPoint p = start - step; length && lit(p); p -= step)
        ++length;
    return length / frame.devicePixelRatio();
}

}
