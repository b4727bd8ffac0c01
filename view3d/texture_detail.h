#pragma once
// How much of a picture's detail a frame can show.
#include <QMatrix4x4>
#include <QRectF>
#include <QSize>

namespace view3d {

// The finest mipmap level of a texture of textureSize that drawing the unit
// square (-0.5..0.5, texture corner to corner) through squareToClip into a
// viewport of viewportPixels can sample with trilinear filtering. One level
// is kept in hand for OpenGL's leeway in estimating the level of detail. 0
// when the square comes close to or behind the eye.
int finestLevelNeeded(const QMatrix4x4& squareToClip, QSize viewportPixels, QSize textureSize);

// The long side a square texture on the same square needs so that its
// finest level needed is level 0: a picture reduced by a power of two to no
// less than this shows as its full size would. 0 (full size) when the square
// comes close to or behind the eye; 1 when it is seen edge-on.
int sideNeeded(const QMatrix4x4& squareToClip, QSize viewportPixels);

// The part of the unit square that drawing it through squareToClip puts in
// the view, bounded by a rectangle in fractions of its sides from the
// texture's top-left corner; empty when none of it is in the view.
QRectF visiblePart(const QMatrix4x4& squareToClip);

// Maps the unit square onto part of itself, part given as visiblePart
// gives it: what the square drawn over that part of a plane needs.
QMatrix4x4 squareOnPart(const QRectF& part);

}
