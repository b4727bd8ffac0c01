#pragma once
// A picture with its mipmap levels, carried as one value from the thread
// that decodes it to the plane and the texture that show it.
#include <QImage>
#include <QSize>
#include <vector>

namespace image {

// The byte order textures keep: pictures in it go up without conversion.
inline constexpr QImage::Format pictureFormat = QImage::Format_RGBA8888_Premultiplied;

// Level 0 is the picture in pictureFormat; each further level is half the
// size of the one before (rounded down, as OpenGL sizes its levels), each
// pixel the box average of the 2 x 2 it covers, down to 1 x 1. Copies share
// the pixels.
class MipPicture {
public:
    MipPicture() = default;
    // Converts picture (32-bit premultiplied) and makes its levels now, on
    // the calling thread, helped by a second one when threads is above one.
    // Implicit, so that a plain picture can be shown.
    MipPicture(QImage picture, int threads = 1); // NOLINT(google-explicit-constructor)

    bool isNull() const { return levels_.empty(); }
    QSize size() const { return isNull() ? QSize() : levels_.front().size(); }
    int levelCount() const { return int(levels_.size()); }
    const QImage& level(int i) const { return levels_[size_t(i)]; }

private:
    std::vector<QImage> levels_;
};

}
