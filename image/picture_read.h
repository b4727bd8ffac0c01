#pragma once
// What a picture reader gives back: the picture, or why there is none.
#include "image/decode_request.h"
#include <QImage>
#include <QRectF>
#include <QSize>

namespace image {

struct PictureRead {
    enum Status {
        Loaded,      // image holds the picture
        Missing,     // the path names no existing file
        CannotOpen,  // open() failed; error holds errno
        Undecodable, // no decoder took it, or it exceeds what may be decoded
    };
    Status status = Missing;
    int error = 0;
    QImage image;   // premultiplied 32-bit when Loaded, see decodePicture
    QSize realSize; // the picture's size as the file declares it
    // The part of the picture that image holds, in fractions of the size
    // the picture was decoded at: image's top-left pixel is part's top-left,
    // and image is exactly part of that size.
    QRectF part = wholePicture;
};

}
