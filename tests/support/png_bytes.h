#pragma once
// PNG files put together byte by byte, so that a test can state any header,
// palette, transparency or pixel data it wants, and chunks with the right
// checksums so that a decoder believes them. Header-only.
#include <QByteArray>
#include <QtEndian>

namespace pngbytes {

inline QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffff;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A chunk: length, type, data, checksum over type and data.
inline QByteArray chunk(const char* type, const QByteArray& data)
{
    const QByteArray body = type + data;
    return bigEndian32(quint32(data.size())) + body + bigEndian32(crc32(body));
}

inline const QByteArray signature("\x89PNG\r\n\x1a\n", 8);

// The data of a header chunk.
inline QByteArray header(quint32 width, quint32 height, int depth, int colourType, bool interlaced)
{
    const char rest[] = {char(depth), char(colourType), 0, 0, char(interlaced ? 1 : 0)};
    return bigEndian32(width) + bigEndian32(height) + QByteArray(rest, sizeof rest);
}

// A whole file: header, the chunks given (a palette, transparency) and
// scanlines (each led by its filter byte), deflated into one data chunk.
inline QByteArray file(const QByteArray& headerData, const QByteArray& chunks, const QByteArray& scanlines)
{
    const QByteArray deflated = qCompress(scanlines).mid(4); // the zlib stream alone
    return signature + chunk("IHDR", headerData) + chunks + chunk("IDAT", deflated) + chunk("IEND", {});
}

}
