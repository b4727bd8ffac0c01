#pragma once
// Big pictures and file contents in memory that asks the kernel for huge
// pages: the first touch of 24 megapixels then faults in a few hundred
// 2 MiB pages instead of some 24,000 small ones, which costs several times
// less.
#include <QImage>
#include <cstddef>

namespace image {

// size bytes, uninitialised, in a mapping of their own that asks for
// transparent huge pages. Empty when the memory cannot be had.
class HugePageMemory {
public:
    // Whether size bytes are worth a mapping: small ones are served well by
    // malloc, and only Linux is asked for huge pages.
    static bool worthwhile(std::size_t size);

    explicit HugePageMemory(std::size_t size);
    ~HugePageMemory();
    HugePageMemory(const HugePageMemory&) = delete;
    HugePageMemory& operator=(const HugePageMemory&) = delete;

    char* data() const { return data_; }
    bool empty() const { return data_ == nullptr; }

private:
    char* data_ = nullptr;
    std::size_t length_ = 0; // of the mapping
};

// A size x format image, uninitialised, its pixels in HugePageMemory when
// that is worthwhile. Null when the memory cannot be had.
QImage hugePageImage(QSize size, QImage::Format format);

}
