#pragma once
// How much of a picture's detail a view can show where a plane stands, asked
// before the picture is decoded.
#include <QMatrix4x4>
#include <QRectF>

namespace view3d {

class Viewport3D;

// The long side a picture needs on the unit square placed in the scene by
// squareToScene (for a plane, its world matrix scaled to a square of its
// long side), seen through view's camera at its size in device pixels: see
// sideNeeded. A caller that moves planes asks with the pose the plane will
// show at its finest, such as the front of a ring.
int sideNeededIn(const Viewport3D& view, const QMatrix4x4& squareToScene);

// The part of the unit square so placed that view's camera sees: see
// visiblePart.
QRectF partShownIn(const Viewport3D& view, const QMatrix4x4& squareToScene);

}
