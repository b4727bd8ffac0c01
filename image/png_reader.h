#pragma once
// PNG pictures through libpng: every colour type and depth, transparency
// chunks and interlacing, to 8-bit premultiplied pixels.
#include "image/decode_request.h"
#include "image/picture_read.h"
#include <QIODevice>

namespace image {

inline bool isPng(const QByteArray& start)
{
    return start.startsWith("\x89PNG\r\n\x1a\n");
}

// Decodes the PNG that file holds from its current position, fileSize bytes
// in all. Loaded or Undecodable. A picture over the request's limits is
// reduced by a power of two while it is read (interlaced ones cannot be and
// are refused over the budget); the caller makes the final fit. A header
// promising more pixel data than fileSize bytes can inflate to is refused
// before anything is allocated.
PictureRead decodePng(QIODevice& file, qint64 fileSize, const DecodeRequest& request);

}
