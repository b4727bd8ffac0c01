#pragma once
#include <QSize>

// A plane's size for a picture of w x h pixels: the long side is 4 units and
// the aspect is the picture's. An empty picture has no fit.
struct PlaneSize {
    float width, height;
};
PlaneSize fitPlane(QSize picture);
