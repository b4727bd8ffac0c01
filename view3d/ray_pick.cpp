#include "view3d/ray_pick.h"
#include <QtMath>

namespace view3d {

Ray rayThrough(QPointF ndc, const QMatrix4x4& viewProjection)
{
    const QMatrix4x4 toScene = viewProjection.inverted();
    const QVector3D near = toScene.map(QVector3D(ndc.x(), ndc.y(), -1));
    const QVector3D far = toScene.map(QVector3D(ndc.x(), ndc.y(), 1));
    return {near, far - near};
}

std::optional<float> hitUnitSquare(const Ray& ray, const QMatrix4x4& squareToScene)
{
    // Solved in the square's own space, where it is flat in Z = 0.
    bool invertible = false;
    const QMatrix4x4 toSquare = squareToScene.inverted(&invertible);
    if (!invertible)
        return std::nullopt; // a square squashed to nothing cannot be hit
    const QVector3D origin = toSquare.map(ray.origin);
    const QVector3D direction = toSquare.mapVector(ray.direction);
    if (qFuzzyIsNull(direction.z()))
        return std::nullopt; // seen edge-on
    const float t = -origin.z() / direction.z();
    const QVector3D hit = origin + t * direction;
    if (t < 0 || t > 1 || qAbs(hit.x()) > 0.5f || qAbs(hit.y()) > 0.5f)
        return std::nullopt;
    return t;
}

}
