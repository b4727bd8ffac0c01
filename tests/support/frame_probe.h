#pragma once
// Reading a rendered frame (grabFramebuffer(), or a widget's picture) at
// widget positions given in logical pixels, as Viewport3D::project() returns
// them, and comparing the colours seen.
#include <QColor>
#include <QImage>
#include <QPointF>

namespace frameprobe {

// The colour of the pixel under pos.
QColor colourAt(const QImage& frame, QPointF pos);

// Whether a and b differ by at most tolerance in each of red, green and
// blue; frames are opaque.
bool near(QColor a, QColor b, int tolerance = 24);

// The length, in logical pixels, of the run of pixels through pos along
// orientation that are not black: the extent of what is drawn there.
double litRun(const QImage& frame, QPointF pos, Qt::Orientation orientation);

}
