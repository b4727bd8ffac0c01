#include "toolkit/texture_detail.h"
#include <algorithm>
#include <cmath>

namespace toolkit {

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

}
