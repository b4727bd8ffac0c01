#pragma once
// Small files that declare far more than they hold: huge ancillary PNG
// chunks, huge JPEG frames (baseline and progressive, one padded so that its
// length could hold its blocks), run-length BMPs of huge, nearly empty
// pictures. Read for the ring, each must cost about what its bytes hold.
// Shared by the reader tests, the viewer's hostile corpus and a benchmark.
#include "support/bmp_bytes.h"
#include "support/png_bytes.h"
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <string>
#include <vector>

namespace hostile {

struct Declaring {
    std::string name;      // what it declares
    std::string extension; // ".png"
    QByteArray bytes;
    bool shows = false;    // whether it is a picture (else it is refused)
    QSize realSize;        // when it shows: the size it declares
};

// A PNG of one pixel with one more chunk before its pixels that declares
// length bytes of which the file holds none.
inline QByteArray pngWithChunkDeclaring(const char* type, quint32 length)
{
    const QByteArray complete = pngbytes::file(pngbytes::header(1, 1, 8, 0, false), {}, QByteArray(2, '\0'));
    const qsizetype pixels = complete.indexOf("IDAT") - 4;
    return complete.left(pixels) + pngbytes::bigEndian32(length) + type + QByteArray(8, '\0');
}

// A 16 x 16 JPEG whose frame header (baseline or progressive) is made to
// declare size, followed by padding bytes.
inline QByteArray jpegDeclaring(QSize size, bool progressive = false, qsizetype padding = 0)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(progressive);
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    writer.write(picture);
    const qsizetype frame = bytes.indexOf(progressive ? "\xff\xc2" : "\xff\xc0");
    qToBigEndian(quint16(size.height()), bytes.data() + frame + 5);
    qToBigEndian(quint16(size.width()), bytes.data() + frame + 7);
    return bytes + QByteArray(padding, '\0');
}

// A run-length BMP (8 or 4 bits) of size with a four-colour palette.
inline QByteArray bmpRunLengths(int bits, QSize size, const QByteArray& data)
{
    using bmpbytes::le32;
    const QByteArray palette = le32(0x0000ff) + le32(0x00ff00) + le32(0xff0000) + le32(0xffffff);
    return bmpbytes::file(bmpbytes::info(40, size.width(), size.height(), bits, bits == 8 ? 1 : 2, 4), palette, data);
}

inline std::vector<Declaring> declaringFarMore()
{
    std::vector<Declaring> all;
    auto refused = [&](std::string name, const char* extension, QByteArray bytes) {
        all.push_back({std::move(name), extension, std::move(bytes), false, {}});
    };
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "pCAL", "sCAL", "iCCP", "eXIf", "teSt"})
        refused(std::string("PNG ") + type + " chunk of a gigabyte", ".png", pngWithChunkDeclaring(type, 0x40000000));
    refused("PNG tEXt chunk of 2^31 - 1 bytes", ".png", pngWithChunkDeclaring("tEXt", 0x7fffffff));
    refused("progressive JPEG of 24000 x 24000", ".jpg", jpegDeclaring({24000, 24000}, true));
    // Long enough to hold the blocks it declares (one bit each, 4:2:0), but
    // its coefficients alone would take 1.7 GB.
    refused("progressive JPEG of 24000 x 24000, padded", ".jpg",
            jpegDeclaring({24000, 24000}, true, 24000 * 24000 * 3 / 2 / 64 / 8));
    refused("JPEG of 65500 x 65500", ".jpg", jpegDeclaring({65500, 65500}));
    // A run, the end of the row, a skip up 255 rows, a run, the end.
    const QByteArray sparse = bmpbytes::bytes({255, 1, 0, 0, 0, 2, 0, 255, 40, 2, 0, 1});
    for (int bits : {8, 4})
        all.push_back({"RLE" + std::to_string(bits) + " BMP of 16389 x 15387, nearly all skipped", ".bmp",
                       bmpRunLengths(bits, {16389, 15387}, sparse), true, {16389, 15387}});
    all.push_back({"RLE8 BMP of 1 x 200000000", ".bmp", bmpRunLengths(8, {1, 200000000}, bmpbytes::bytes({1, 3, 0, 1})),
                   true, {1, 200000000}});
    return all;
}

}
