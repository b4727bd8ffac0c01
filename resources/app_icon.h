#pragma once
#include <QIcon>
#include <QImage>

namespace resources {

// The program's icon at size x size pixels: a small window with a pale blue
// title strip over a black area where four framed photographs stand on a
// ring, the front one largest.
QImage appIconImage(int size);
QIcon appIcon();

}
