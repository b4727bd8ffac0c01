#include "view3d/texture_detail.h"
#include <algorithm>
#include <QVector4D>
#include <cmath>
#include <vector>

namespace view3d {

// Texels per window pixel where the square's point (x, y) lands: the longer
// of the two texel steps that one pixel across and one pixel down make, as
// OpenGL measures it. Infinity where the square is seen edge-on; nothing
// (negative) where the point is not safely in front of the eye.
static double texelsPerPixel(const QMatrix4x4& m, double x, double y, QSize viewport, QSize texture)
{
    const double cx = m(0, 0) * x + m(0, 1) * y + m(0, 3);
    const double cy = m(1, 0) * x + m(1, 1) * y + m(1, 3);
    const double cw = m(3, 0) * x + m(3, 1) * y + m(3, 3);
    if (cw < 1e-3)
        return -1;
    // Window pixels per unit of x and y: the derivative of (c / cw) scaled
    // to the viewport, then per texel by the texture's size.
    const double sx = viewport.width() / 2.0, sy = viewport.height() / 2.0;
    const double a = sx * (m(0, 0) * cw - cx * m(3, 0)) / (cw * cw) / texture.width();
    const double b = sx * (m(0, 1) * cw - cx * m(3, 1)) / (cw * cw) / texture.height();
    const double c = sy * (m(1, 0) * cw - cy * m(3, 0)) / (cw * cw) / texture.width();
    const double d = sy * (m(1, 1) * cw - cy * m(3, 1)) / (cw * cw) / texture.height();
    const double det = a * d - b * c;
    if (std::abs(det) < 1e-12)
        return INFINITY;
    // The inverse maps a pixel step to a texel step: its columns.
    const double alongX = std::hypot(d, c) / std::abs(det);
    const double alongY = std::hypot(b, a) / std::abs(det);
    return std::max(alongX, alongY);
}

// The fewest texels per window pixel anywhere on the square: negative when
// the square comes close to or behind the eye. The most magnified spot of a
// flat rectangle seen in perspective lies on its rim; a grid over it,
// corners included, finds it closely enough for the level in hand to cover
// the rest.
static double fewestTexelsPerPixel(const QMatrix4x4& squareToClip, QSize viewportPixels, QSize textureSize)
{
    constexpr int steps = 8;
    double fewest = INFINITY;
    for (int i = 0; i <= steps; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const double rho = texelsPerPixel(squareToClip, double(i) / steps - 0.5, double(j) / steps - 0.5,
                                              viewportPixels, textureSize);
            if (rho < 0)
                return -1;
            fewest = std::min(fewest, rho);
        }
    }
    return fewest;
}

int finestLevelNeeded(const QMatrix4x4& squareToClip, QSize viewportPixels, QSize textureSize)
{
    if (viewportPixels.isEmpty() || textureSize.isEmpty())
        return 0;
    const double fewest = fewestTexelsPerPixel(squareToClip, viewportPixels, textureSize);
    if (fewest < 0)
        return 0;
    const double coarsest = std::floor(std::log2(std::max(textureSize.width(), textureSize.height())));
    return int(std::clamp(std::floor(std::log2(fewest)) - 1, 0.0, coarsest));
}

int sideNeeded(const QMatrix4x4& squareToClip, QSize viewportPixels)
{
    if (viewportPixels.isEmpty())
        return 1;
    const double perTexel = fewestTexelsPerPixel(squareToClip, viewportPixels, {1, 1});
    if (perTexel < 0)
        return 0;
    // Two texels a pixel at the most magnified spot: finestLevelNeeded then
    // asks for level 0 of the picture and no finer.
    return int(std::clamp(std::ceil(2 / perTexel), 1.0, double(1 << 30)));
}

// A corner of the polygon that is the square's part in the view: where it
// lies in clip space and where on the square.
struct ClipCorner {
    QVector4D clip;
    QPointF onSquare;
};

// The part of polygon on the inner side of one face of the clip volume:
// sign * clip[axis] <= clip.w.
static std::vector<ClipCorner> clippedTo(const std::vector<ClipCorner>& polygon, int axis, float sign)
{
    std::vector<ClipCorner> kept;
    const auto inside = [&](const ClipCorner& c) { return c.clip.w() - sign * c.clip[axis]; };
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ClipCorner& a = polygon[i];
        const ClipCorner& b = polygon[(i + 1) % polygon.size()];
        const float da = inside(a), db = inside(b);
        if (da >= 0)
            kept.push_back(a);
        if ((da >= 0) != (db >= 0)) {
            const float t = da / (da - db);
            kept.push_back({a.clip + (b.clip - a.clip) * t, a.onSquare + (b.onSquare - a.onSquare) * t});
        }
    }
    return kept;
}

QRectF visiblePart(const QMatrix4x4& squareToClip)
{
    std::vector<ClipCorner> polygon;
    for (const QPointF corner : {QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1)})
        polygon.push_back({squareToClip * QVector4D(float(corner.x() - 0.5), float(corner.y() - 0.5), 0, 1), corner});
    for (int axis = 0; axis < 3 && !polygon.empty(); ++axis) {
        polygon = clippedTo(polygon, axis, 1);
        polygon = clippedTo(polygon, axis, -1);
    }
    if (polygon.empty())
        return {};
    double left = 1, top = 1, right = 0, bottom = 0;
    for (const ClipCorner& c : polygon) {
        left = std::min(left, c.onSquare.x());
        right = std::max(right, c.onSquare.x());
        top = std::min(top, c.onSquare.y());
        bottom = std::max(bottom, c.onSquare.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom)) & QRectF(0, 0, 1, 1); // the square's own corners
}

QMatrix4x4 squareOnPart(const QRectF& part)
{
    QMatrix4x4 m;
    m.translate(float(part.center().x() - 0.5), float(part.center().y() - 0.5));
    m.scale(float(part.width()), float(part.height()));
    return m;
}

}
