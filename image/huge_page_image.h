#pragma once
// Big pictures in memory that asks the kernel for huge pages.
#include <QImage>

namespace image {

// A size x format image, uninitialised. When it is big, its pixels sit in a
// mapping of its own that asks for transparent huge pages: the first touch
// of a 24-megapixel picture then faults in a few hundred 2 MiB pages instead
// of some 24,000 small ones, which costs several times less. Null when the
// memory cannot be had.
QImage hugePageImage(QSize size, QImage::Format format);

}
