#include "image/huge_page_image.h"
#if defined(__linux__)
#include <climits>
#include <sys/mman.h>
#endif

namespace image {

#if defined(__linux__)
static constexpr size_t hugePage = size_t(2) << 20;

struct Mapping {
    void* address;
    size_t length;
};

QImage hugePageImage(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth % 8 != 0)
        return QImage(size, format);
    const size_t bytesPerLine = (size_t(size.width()) * depth / 8 + 3) & ~size_t(3);
    const size_t bytes = bytesPerLine * size_t(size.height());
    if (bytes < 2 * hugePage || bytesPerLine > size_t(INT_MAX))
        return QImage(size, format); // small ones are served well by malloc
    const size_t length = (bytes + hugePage - 1) & ~(hugePage - 1);
    void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return {};
    ::madvise(address, length, MADV_HUGEPAGE); // only a wish: without it the pages are small
    auto* mapping = new Mapping{address, length};
    auto release = [](void* info) {
        auto* own = static_cast<Mapping*>(info);
        ::munmap(own->address, own->length);
        delete own;
    };
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), qsizetype(bytesPerLine), format, release,
                 mapping);
    // QImage refuses sizes it cannot address (rows over about 67 million
    // pixels, for one) without taking the mapping over.
    if (image.isNull())
        release(mapping);
    return image;
}
#else
QImage hugePageImage(QSize size, QImage::Format format)
{
    return QImage(size, format);
}
#endif

}
