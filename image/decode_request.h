#pragma once
// What a caller asks of a picture decoder, and the sizes that follow from it.
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <stop_token>

namespace image {

// A picture's part that is all of it, in fractions of its size.
inline constexpr QRectF wholePicture{0, 0, 1, 1};

struct DecodeRequest {
    int maxSide = 0;           // neither side of the result exceeds this
    qint64 pixelBudget = 0;    // nor does its area
    QImage::Format format = QImage::Format_ARGB32_Premultiplied; // or Format_RGBA8888_Premultiplied
    std::stop_token stop;      // a request abandons the decode
    // The detail wanted: the picture is decoded reduced by the largest power
    // of two that keeps its long side at least this; 0 asks for full size.
    int detailSide = 0;
    // Threads the decode may use: a JPEG is then decoded in bands of rows at
    // once, for a decode that has the machine to itself.
    int threads = 1;
    // The part of the picture wanted, in fractions of its width and height
    // (x right, y down); the result holds at least that part.
    QRectF part = wholePicture;
};

inline qint64 pixelCount(QSize size)
{
    return qint64(size.width()) * size.height();
}

// The pixels of a picture decoded at size that part covers, taken outward to
// the lines of a grid of partGrid pixels (or the picture's edges), so that
// the part's first mipmap levels are the very texels of the whole
// picture's; the whole picture when part leaves none of it.
inline constexpr int partGrid = 16;
QRect partPixels(QRectF part, QSize size);

// pixels of a picture decoded at size, in fractions of size.
QRectF partFraction(QRect pixels, QSize size);

// size reduced to the request's detail, then shrunk, keeping its aspect,
// until neither side exceeds maxSide and its area stays within pixelBudget;
// unchanged if it already fits.
QSize fittedSize(QSize size, const DecodeRequest& request);

// The largest power of two, at most largest, by which a decoder can divide
// declared while reading and still deliver at least wanted.
int reductionFor(QSize declared, QSize wanted, int largest);

// The largest power of two by which declared can be divided, a partial
// block counting as a whole one, with its long side still at least
// detailSide; 1 when detailSide is 0 or more than the long side.
int detailReduction(QSize declared, int detailSide);

// declared divided by reduction, a partial block counting as a whole one.
QSize reducedSize(QSize declared, int reduction);

}
