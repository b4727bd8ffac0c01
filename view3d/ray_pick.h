#pragma once
// Ray casting for picking: a ray from the camera through a point of the view,
// and where it crosses a transformed rectangle.
#include <QMatrix4x4>
#include <QPointF>
#include <QVector3D>
#include <optional>

namespace view3d {

// Points along the ray are origin + t * direction; t = 0 lies on the near
// plane and t = 1 on the far plane, so 0 <= t <= 1 is what the view shows.
struct Ray {
    QVector3D origin;
    QVector3D direction;
};

// The ray through ndc (normalised device coordinates, -1 to 1, +Y up).
Ray rayThrough(QPointF ndc, const QMatrix4x4& viewProjection);

// The t at which ray crosses the unit square (-0.5 to 0.5 in X and Y, Z = 0)
// placed in the scene by squareToScene, from either side; nothing on a miss.
std::optional<float> hitUnitSquare(const Ray& ray, const QMatrix4x4& squareToScene);

}
