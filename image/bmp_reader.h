#pragma once
// BMP pictures: Windows and OS/2 headers, 1 to 32 bits a pixel, palettes,
// bit-field masks with alpha, RLE8 and RLE4 with skips, top-down rows.
#include "image/decode_request.h"
#include "image/picture_read.h"
#include <QByteArray>

namespace image {

inline bool isBmp(const QByteArray& start)
{
    return start.startsWith("BM");
}

// Decodes the BMP file bytes, reduced while read as the request allows:
// Loaded or Undecodable. What the format leaves open (palette indices past the palette, runs past
// a row's end, masks with gaps, data that stops inside the picture) is
// refused rather than guessed, as is a picture over the pixel budget. Pixels
// skipped by an RLE picture are transparent. An uncompressed picture whose
// rows the file cannot hold is refused before anything is allocated.
PictureRead decodeBmp(const QByteArray& bytes, const DecodeRequest& request);

}
