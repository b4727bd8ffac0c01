#pragma once
// How much of a picture's detail a frame can show.
#include <QMatrix4x4>
#include <QSize>

namespace toolkit {

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

}
