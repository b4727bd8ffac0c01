#include "carousel/fit.h"

PlaneSize fitPlane(QSize picture)
{
    const long double w = picture.width(), h = picture.height();
    if (w > h) {
        const long double width = 4;
        return {float(width), float(h * width / w)};
    }
    const long double height = 4;
    return {float(w * height / h), float(height)};
}
