#include "carousel/fit.h"
#include "carousel/ring.h"

PlaneSize fitPlane(QSize picture)
{
    const long double w = picture.width(), h = picture.height();
    if (w > h) {
        const long double width = ring::planeLongSide;
        return {float(width), float(h * width / w)};
    }
    const long double height = ring::planeLongSide;
    return {float(w * height / h), float(height)};
}
