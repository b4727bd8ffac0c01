#pragma once
// Reads a picture file into a premultiplied 32-bit image. The format comes
// from the content, never the name; only the first frame is used.
#include <QImage>
#include <QSize>
#include <string>

namespace toolkit {

struct PictureRead {
    enum Status {
        Loaded,      // image holds the picture
        Missing,     // the path names no existing file
        CannotOpen,  // open() failed; error holds errno
        Undecodable, // no decoder took it, or it exceeds what may be decoded
    };
    Status status = Missing;
    int error = 0;
    QImage image;   // Format_ARGB32_Premultiplied when Loaded
    QSize realSize; // the picture's size as the file declares it
};

// path is the file name's native bytes. The picture is decoded at full size,
// except that it is scaled down (keeping its aspect) so that neither side
// exceeds maxSide and so that it stays within the pixel budget.
PictureRead readPicture(const std::string& path, int maxSide);

// The most pixels a picture may be decoded to: 16384 x 16384, 1 GiB at four
// bytes a pixel. Larger pictures are decoded scaled down by the formats that
// can (JPEG, PNG); the others are refused.
inline constexpr qint64 pictureBudget = qint64(16384) * 16384;

// As above with another pixel budget.
PictureRead readPicture(const std::string& path, int maxSide, qint64 pixelBudget);

}
