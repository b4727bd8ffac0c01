#include "picture_input.h"
#include "image/picture_reader.h"
#include <QImage>
#include <array>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzzing {

namespace {

image::DecodeRequest requestFrom(const uint8_t* choice)
{
    constexpr std::array<int, 4> sides{64, 512, 2048, 16384};
    image::DecodeRequest request;
    request.maxSide = sides[choice[0] & 3];
    request.pixelBudget = image::pictureBudget;
    request.format = (choice[0] & 4) != 0 ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_ARGB32_Premultiplied;
    request.threads = (choice[0] & 8) != 0 ? 2 : 1;
    request.detailSide = (choice[1] & 0x80) != 0 ? 0 : 16 << (choice[1] & 7);
    if (choice[2] != 0)
        request.part = QRectF((choice[2] >> 4) / 16.0, (choice[2] & 15) / 16.0, ((choice[3] >> 4) + 1) / 16.0,
                              ((choice[3] & 15) + 1) / 16.0);
    return request;
}

// A file in memory whose path the readers can open like any other.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) : fd_(::memfd_create("picture", MFD_CLOEXEC))
    {
        if (fd_ < 0 || ::write(fd_, data, size) != ssize_t(size))
            __builtin_trap();
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

}

void setUpPictureReading()
{
    image::setDecoderAllocationLimit();
}

void readPictureInput(const uint8_t* data, size_t size, std::string_view magic)
{
    constexpr size_t choices = 4;
    if (size < choices + magic.size() || std::string_view(reinterpret_cast<const char*>(data) + choices, magic.size()) != magic)
        return;
    const image::DecodeRequest request = requestFrom(data);
    const MemoryFile file(data + choices, size - choices);
    const image::PictureRead read = image::decodePicture(image::openPicture(file.path()), request);
    const bool loaded = read.status == image::PictureRead::Loaded;
    if (loaded != !read.image.isNull() || (loaded && read.image.format() != request.format))
        __builtin_trap();
    if (loaded && (read.image.width() > request.maxSide || read.image.height() > request.maxSide))
        __builtin_trap();
}

}
