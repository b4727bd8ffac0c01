#pragma once
// BMP files put together byte by byte, so that a test can state any header,
// masks, palette or pixel data it wants. Header-only.
#include <QByteArray>
#include <QtEndian>
#include <array>

namespace bmpbytes {

inline QByteArray le16(quint32 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(quint16(value), bytes.data());
    return bytes;
}

inline QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

using Masks = std::array<quint32, 4>; // red, green, blue, alpha

// An info header of size bytes (12: OS/2 1.x; 16 and 64: OS/2 2.x; 40 and
// up: Windows, holding masks from 52 bytes on, alpha from 56), cut or
// padded from the Windows layout.
inline QByteArray info(int size, int width, int height, int bits, quint32 compression = 0, quint32 coloursUsed = 0,
                       Masks masks = {})
{
    if (size == 12)
        return le32(12) + le16(quint32(width)) + le16(quint32(height)) + le16(1) + le16(quint32(bits));
    QByteArray info = le32(quint32(size)) + le32(quint32(width)) + le32(quint32(height)) + le16(1)
        + le16(quint32(bits)) + le32(compression) + le32(0) + le32(2835) + le32(2835) + le32(coloursUsed) + le32(0);
    for (quint32 mask : masks)
        info += le32(mask);
    return info.leftJustified(size, '\0', true);
}

// A whole file; the pixels start right after the table (masks, palette).
inline QByteArray file(const QByteArray& info, const QByteArray& table, const QByteArray& pixels)
{
    const qsizetype pixelsAt = 14 + info.size() + table.size();
    return "BM" + le32(quint32(pixelsAt + pixels.size())) + le32(0) + le32(quint32(pixelsAt)) + info + table + pixels;
}

// Bytes of the values given, for run-length data and the like.
inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result += char(value);
    return result;
}

}
