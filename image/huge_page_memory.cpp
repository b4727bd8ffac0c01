#include "image/huge_page_memory.h"
#include <climits>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace image {

#if defined(__linux__)
static constexpr std::size_t hugePage = std::size_t(2) << 20;

bool HugePageMemory::worthwhile(std::size_t size)
{
    return size >= 2 * hugePage;
}

HugePageMemory::HugePageMemory(std::size_t size)
{
    const std::size_t length = (size + hugePage - 1) & ~(hugePage - 1);
    void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return;
    ::madvise(address, length, MADV_HUGEPAGE); // only a wish: without it the pages are small
    data_ = static_cast<char*>(address);
    length_ = length;
}

HugePageMemory::~HugePageMemory()
{
    if (data_)
        ::munmap(data_, length_);
}
#else
bool HugePageMemory::worthwhile(std::size_t)
{
    return false;
}

// Never made where it is not worthwhile.
HugePageMemory::HugePageMemory(std::size_t) {}

HugePageMemory::~HugePageMemory() = default;
#endif

QImage hugePageImage(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth % 8 != 0)
        return QImage(size, format);
    const std::size_t bytesPerLine = (std::size_t(size.width()) * depth / 8 + 3) & ~std::size_t(3);
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (!HugePageMemory::worthwhile(bytes) || bytesPerLine > std::size_t(INT_MAX))
        return QImage(size, format);
    auto* memory = new HugePageMemory(bytes);
    auto release = [](void* info) { delete static_cast<HugePageMemory*>(info); };
    if (memory->empty()) {
        release(memory);
        return {};
    }
    QImage image(reinterpret_cast<uchar*>(memory->data()), size.width(), size.height(), qsizetype(bytesPerLine),
                 format, release, memory);
    // QImage refuses sizes it cannot address (rows over about 67 million
    // pixels, for one) without taking the memory over.
    if (image.isNull())
        release(memory);
    return image;
}

}
