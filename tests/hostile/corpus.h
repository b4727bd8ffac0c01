#pragma once
// Damaged picture files made from small valid JPEG, PNG and BMP pictures:
// truncated at many offsets, header and data bytes flipped, absurd declared
// sizes, zero length; and small files declaring huge pictures or chunks.
// Made in memory at test time, so the corpus never lives in the
// repository; the same corpus every run (fixed seed).
#include "hostile/declared_sizes.h"
#include "support/png_bytes.h"
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

namespace hostile {

// Some damage leaves a picture that must show, some one that never can;
// most may go either way.
enum class Outcome { Either, Shows, Keeps };

struct Variant {
    std::string name; // unique; says what was done; ends in the base's extension
    QByteArray bytes;
    Outcome outcome = Outcome::Either;
};

// The size of every base picture; a variant that shows must show this or
// what its header declares.
inline constexpr QSize baseSize(24, 16);

namespace detail {

    struct Base {
        std::string name; // "png-indexed"
        std::string extension;
        QByteArray bytes;
    };

    inline QImage pattern()
    {
        QImage image(baseSize, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 10, y * 15, (x ^ y) * 16));
        return image;
    }

    inline QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        writer.setProgressiveScanWrite(progressive);
        writer.write(image);
        return bytes;
    }

    inline std::vector<Base> bases()
    {
        const QImage rgb = pattern();
        const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
        QImage alpha = rgb.convertToFormat(QImage::Format_ARGB32);
        alpha.fill(qRgba(200, 40, 40, 100));
        return {
            {"jpeg", ".jpg", encoded(rgb, "JPEG")},
            {"jpeg-progressive", ".jpg", encoded(rgb, "JPEG", true)},
            {"png", ".png", encoded(rgb, "PNG")},
            {"png-indexed", ".png", encoded(indexed, "PNG")},
            {"png-alpha", ".png", encoded(alpha, "PNG")},
            {"bmp", ".bmp", encoded(rgb, "BMP")},
            {"bmp-indexed", ".bmp", encoded(indexed, "BMP")},
        };
    }

    // bytes with value written at offset at, in the byte order the format uses.
    template <class T> QByteArray withBigEndian(QByteArray bytes, qsizetype at, T value)
    {
        qToBigEndian(value, bytes.data() + at);
        return bytes;
    }
    template <class T> QByteArray withLittleEndian(QByteArray bytes, qsizetype at, T value)
    {
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    }

    // The PNG with its header (IHDR, right after the 8-byte signature)
    // changed at offset at of its data, its checksum made right again, so
    // that the decoder believes the change.
    inline QByteArray pngWithHeader(const QByteArray& png, qsizetype at, const QByteArray& value)
    {
        constexpr qsizetype type = 12, data = 16, length = 13;
        QByteArray bytes = png;
        bytes.replace(data + at, value.size(), value);
        return withBigEndian(bytes, data + length, pngbytes::crc32(bytes.mid(type, 4 + length)));
    }

    inline std::vector<Variant> craftedPng(const QByteArray& png)
    {
        auto size = [&](quint32 w, quint32 h) {
            return pngWithHeader(png, 0, withBigEndian(withBigEndian(QByteArray(8, '\0'), 0, w), 4, h));
        };
        const qsizetype idat = png.indexOf("IDAT") - 4;
        return {
            {"declares-100000x100000", size(100000, 100000), Outcome::Keeps},
            {"declares-0x0", size(0, 0), Outcome::Keeps},
            {"declares-2147483647x1", size(INT_MAX, 1), Outcome::Keeps},
            {"declares-1x2147483647", size(1, INT_MAX), Outcome::Keeps},
            {"declares-4294967295-square", size(UINT_MAX, UINT_MAX), Outcome::Keeps},
            {"declares-65536-square", size(65536, 65536), Outcome::Keeps},
            {"depth-16-palette", pngWithHeader(png, 8, QByteArray("\x10\x03", 2)), Outcome::Keeps},
            {"depth-0", pngWithHeader(png, 8, QByteArray(1, '\0')), Outcome::Keeps},
            {"colour-type-7", pngWithHeader(png, 9, QByteArray(1, '\x07')), Outcome::Keeps},
            {"interlace-9", pngWithHeader(png, 12, QByteArray(1, '\x09')), Outcome::Keeps},
            {"header-length-huge", withBigEndian(png, 8, quint32(0xffffffff)), Outcome::Keeps},
            {"data-length-huge", withBigEndian(png, idat, quint32(0x7fffffff))},
            {"data-length-zero", withBigEndian(png, idat, quint32(0))},
            {"no-data", png.left(idat) + png.right(12)},
        };
    }

    // Offsets in a BMP: the file header, then the info header.
    enum Bmp : qsizetype {
        fileSize = 2, pixelsAt = 10, infoSize = 14, width = 18, height = 22, planes = 26, bitCount = 28,
        compression = 30, imageSize = 34, coloursUsed = 46
    };

    inline std::vector<Variant> craftedBmp(const QByteArray& bmp)
    {
        auto set32 = [&](qsizetype at, qint64 value) { return withLittleEndian(bmp, at, quint32(value)); };
        auto set16 = [&](qsizetype at, quint16 value) { return withLittleEndian(bmp, at, value); };
        return {
            {"top-down", set32(height, -baseSize.height()), Outcome::Shows},
            {"height-min", set32(height, INT_MIN), Outcome::Keeps},
            {"height-max", set32(height, INT_MAX), Outcome::Keeps},
            {"height-minus-max", set32(height, -INT_MAX), Outcome::Keeps},
            {"height-zero", set32(height, 0), Outcome::Keeps},
            {"width-max", set32(width, INT_MAX), Outcome::Keeps},
            {"width-negative", set32(width, -baseSize.width()), Outcome::Keeps},
            {"width-zero", set32(width, 0), Outcome::Keeps},
            {"declares-100000x100000", withLittleEndian(set32(width, 100000), height, quint32(100000)), Outcome::Keeps},
            {"pixels-at-end", set32(pixelsAt, 0xffffffff)},
            {"pixels-at-zero", set32(pixelsAt, 0)},
            {"file-size-zero", set32(fileSize, 0)},
            {"info-size-huge", set32(infoSize, 0xffffffff), Outcome::Keeps},
            {"info-size-zero", set32(infoSize, 0), Outcome::Keeps},
            {"planes-zero", set16(planes, 0)},
            {"bits-0", set16(bitCount, 0)},
            {"bits-3", set16(bitCount, 3), Outcome::Keeps},
            {"bits-64", set16(bitCount, 64), Outcome::Keeps},
            {"rle8", set32(compression, 1)},
            {"rle4", set32(compression, 2)},
            {"bitfields-without-masks", set32(compression, 3)},
            {"compression-jpeg", set32(compression, 4), Outcome::Keeps},
            {"compression-huge", set32(compression, 0xffffffff), Outcome::Keeps},
            {"image-size-huge", set32(imageSize, 0xffffffff)},
            {"colours-used-huge", set32(coloursUsed, 0xffffffff)},
            {"colours-used-257", set32(coloursUsed, 257)},
        };
    }

    inline std::vector<Variant> craftedJpeg(const QByteArray& jpeg)
    {
        const qsizetype frame = std::max(jpeg.indexOf("\xff\xc0"), jpeg.indexOf("\xff\xc2"));
        const qsizetype scan = jpeg.indexOf("\xff\xda");
        auto size = [&](quint16 w, quint16 h) { return withBigEndian(withBigEndian(jpeg, frame + 5, h), frame + 7, w); };
        auto restartEvery = [&](quint16 units) {
            return QByteArray(jpeg).insert(scan, withBigEndian(QByteArray("\xff\xdd\x00\x04\x00\x00", 6), 4, units));
        };
        return {
            {"declares-65535-square", size(65535, 65535)},
            {"declares-65500x1", size(65500, 1)},
            {"declares-1x65500", size(1, 65500)},
            {"height-zero", size(baseSize.width(), 0), Outcome::Keeps},
            {"width-zero", size(0, baseSize.height()), Outcome::Keeps},
            {"restart-interval-65535", restartEvery(65535), Outcome::Shows},
            {"restart-interval-1", restartEvery(1)},
            {"components-255", QByteArray(jpeg).replace(frame + 9, 1, "\xff"), Outcome::Keeps},
            {"components-0", QByteArray(jpeg).replace(frame + 9, 1, QByteArray(1, '\0')), Outcome::Keeps},
            {"frame-length-huge", withBigEndian(jpeg, frame + 2, quint16(0xffff)), Outcome::Keeps},
            {"scan-length-huge", withBigEndian(jpeg, scan + 2, quint16(0xffff))},
            {"no-end-marker", jpeg.chopped(2)},
            {"only-start-marker", jpeg.left(2), Outcome::Keeps},
        };
    }

    inline std::vector<Variant> crafted(const Base& base)
    {
        if (base.extension == ".png")
            return craftedPng(base.bytes);
        if (base.extension == ".bmp")
            return craftedBmp(base.bytes);
        return craftedJpeg(base.bytes);
    }

}

// Every variant of every base, a few thousand in all: each base cut at
// every offset of its first bytes, where the headers start, and at every
// 11th after; each of those first bytes zeroed, set and flipped, and every
// 7th byte after them given a random value; then the crafted ones.
inline std::vector<Variant> corpus()
{
    constexpr qsizetype dense = 64;
    std::mt19937 random(20240611);
    std::vector<Variant> all{{"empty.jpg", {}, Outcome::Keeps}};
    for (const detail::Base& base : detail::bases()) {
        const QByteArray& bytes = base.bytes;
        auto add = [&](const std::string& what, QByteArray damaged, Outcome outcome = Outcome::Either) {
            all.push_back({base.name + "-" + what + base.extension, std::move(damaged), outcome});
        };
        auto with = [&](qsizetype at, char value) { return QByteArray(bytes).replace(at, 1, QByteArray(1, value)); };
        add("intact", bytes, Outcome::Shows);
        for (qsizetype cut = 1; cut < bytes.size(); cut += cut < dense ? 1 : 11)
            add("cut-" + std::to_string(cut), bytes.left(cut));
        for (qsizetype at = 0; at < std::min(dense, bytes.size()); ++at) {
            const std::pair<const char*, char> values[] = {{"zero", '\0'}, {"ones", '\xff'}, {"flip", char(bytes[at] ^ 0x80)}};
            for (const auto& [label, value] : values)
                add("byte-" + std::to_string(at) + "-" + label, with(at, value));
        }
        for (qsizetype at = dense; at < bytes.size(); at += 7)
            add("byte-" + std::to_string(at) + "-random", with(at, char(random())));
        for (Variant& variant : detail::crafted(base))
            add(variant.name, std::move(variant.bytes), variant.outcome);
    }
    for (Declaring& file : declaringFarMore())
        all.push_back({"declaring " + file.name + file.extension, std::move(file.bytes),
                       file.shows ? Outcome::Either : Outcome::Keeps});
    return all;
}

}
