#pragma once
// Fixture list entries that tell themselves apart: entry k has a colour of
// its own for the frame and a width of its own for the plane's picture size.
#include "view3d/scene.h"
#include <QColor>
#include <QSize>
#include <string>

namespace entries {

inline QColor colour(int k)
{
    return QColor::fromHsv((k * 67) % 360, 255, 255);
}

inline QSize size(int k)
{
    return QSize(40 + k, 30);
}

// "/e100.png" for entry 0: names sort in entry order.
inline std::string name(int k)
{
    return "/e" + std::to_string(100 + k) + ".png";
}

// The entry a plane shows, told by its picture's width.
inline int shownBy(const view3d::PicturePlane& plane)
{
    return plane.pictureSize().width() - 40;
}

}
