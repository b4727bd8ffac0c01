// PNG and BMP pictures of every kind their formats define, made byte by
// byte, must decode pixel for pixel to what the format says they hold (as
// 8-bit premultiplied pixels, in both layouts decoders deliver); the files
// they leave open or that promise more than they hold must be refused,
// without allocating what they promise.
#include "hostile/declared_sizes.h"
#include "image/picture_reader.h"
#include "support/bmp_bytes.h"
#include "support/fixtures.h"
#include "support/png_bytes.h"
#include "support/proc_status.h"
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <array>
#include <bit>
#include <functional>
#include <span>
#include <vector>

using image::PictureRead;

namespace {

using bmpbytes::bytes;
using bmpbytes::le16;
using bmpbytes::le32;
using bmpbytes::Masks;

// A fixed, well-mixed value for each pixel and channel, so that every
// picture has varied samples in every channel.
quint32 scrambled(int x, int y, int channel)
{
    quint32 hash = quint32(x) * 73856093u ^ quint32(y) * 19349663u ^ quint32(channel + 1) * 83492791u;
    hash ^= hash >> 13;
    hash *= 0x5bd1e995u;
    return hash ^ (hash >> 15);
}

// A sample whose largest value is largest, as 8 bits: value * 255 / largest, rounded.
uint to8(quint64 value, quint64 largest)
{
    return uint((value * 255 + largest / 2) / largest);
}

// A straight colour as Format_ARGB32_Premultiplied holds it.
QRgb premultiplied(uint red, uint green, uint blue, uint alpha)
{
    auto times = [alpha](uint c) { return int((c * alpha * 2 + 255) / 510); }; // c * alpha / 255, rounded
    return qRgba(times(red), times(green), times(blue), int(alpha));
}

QImage blankPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void setPixel(QImage& image, int x, int y, QRgb pixel)
{
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = pixel;
}

// ---- PNG ----

struct Pass {
    int x, y, dx, dy;
};
constexpr Pass wholePicture[] = {{0, 0, 1, 1}};
constexpr Pass adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// Samples of depth bits packed into bytes, most significant first.
class BitWriter {
public:
    explicit BitWriter(int depth) : depth_(depth) {}
    void put(quint32 sample)
    {
        for (int bit = depth_ - 1; bit >= 0; --bit) {
            byte_ = (byte_ << 1) | ((sample >> bit) & 1);
            if (++bits_ == 8)
                flush();
        }
    }
    QByteArray finished()
    {
        if (bits_ > 0) {
            byte_ <<= 8 - bits_;
            flush();
        }
        return bytes_;
    }

private:
    void flush()
    {
        bytes_ += char(byte_);
        byte_ = 0;
        bits_ = 0;
    }
    int depth_;
    uint byte_ = 0;
    int bits_ = 0;
    QByteArray bytes_;
};

struct Picture {
    QByteArray file;
    QImage expected; // Format_ARGB32_Premultiplied
};

// A PNG of colourType at depth with varied samples, and what it shows. With
// transparency, the colour (or grey) of pixel (1, 1) is the transparent one,
// and pixel (2, 1) differs from it only in the lowest bit of its first
// sample; a palette gets alphas for all its entries but the last.
Picture pngPicture(int colourType, int depth, bool transparency, bool interlaced, QSize size = {9, 9})
{
    const int width = size.width(), height = size.height();
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const quint32 largest = (1u << depth) - 1;
    const bool indexed = colourType == 3;
    const int entries = indexed ? std::min(1 << depth, 20) : 0;

    std::vector<std::array<quint32, 4>> samples(size_t(width * height));
    auto sample = [&](int x, int y) -> std::array<quint32, 4>& { return samples[size_t(y * width + x)]; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                sample(x, y)[size_t(c)] = indexed ? scrambled(x, y, c) % quint32(entries) : scrambled(x, y, c) & largest;
    const std::array<quint32, 4> key = sample(1, 1);
    sample(2, 1) = key;
    sample(2, 1)[0] ^= 1;

    QByteArray chunks, palette, alphas;
    for (int i = 0; i < entries; ++i) {
        for (int c = 0; c < 3; ++c)
            palette += char(scrambled(i, 0, 7 + c));
        if (i < entries - 1)
            alphas += char(scrambled(i, 1, 10));
    }
    if (indexed)
        chunks += pngbytes::chunk("PLTE", palette);
    if (transparency) {
        QByteArray trns = alphas;
        if (!indexed) {
            trns.clear();
            for (int c = 0; c < channels; ++c)
                trns += pngbytes::bigEndian32(key[size_t(c)]).right(2);
        }
        chunks += pngbytes::chunk("tRNS", trns);
    }

    QImage expected = blankPicture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::array<quint32, 4>& s = sample(x, y);
            const bool isKey = transparency && std::equal(s.begin(), s.begin() + channels, key.begin());
            uint red, green, blue, alpha = isKey ? 0 : 255;
            if (indexed) {
                red = quint8(palette[s[0] * 3]), green = quint8(palette[s[0] * 3 + 1]), blue = quint8(palette[s[0] * 3 + 2]);
                alpha = transparency && s[0] < quint32(alphas.size()) ? quint8(alphas[s[0]]) : 255;
            } else if (channels <= 2) {
                red = green = blue = to8(s[0], largest);
                if (channels == 2)
                    alpha = to8(s[1], largest);
            } else {
                red = to8(s[0], largest), green = to8(s[1], largest), blue = to8(s[2], largest);
                if (channels == 4)
                    alpha = to8(s[3], largest);
            }
            setPixel(expected, x, y, premultiplied(red, green, blue, alpha));
        }
    }

    QByteArray scanlines;
    for (const Pass& pass : interlaced ? std::span<const Pass>(adam7) : std::span<const Pass>(wholePicture)) {
        if (pass.x >= width)
            continue; // an empty pass has no scanlines
        for (int y = pass.y; y < height; y += pass.dy) {
            BitWriter line(depth);
            for (int x = pass.x; x < width; x += pass.dx)
                for (int c = 0; c < channels; ++c)
                    line.put(sample(x, y)[size_t(c)]);
            scanlines += '\0' + line.finished(); // filter: none
        }
    }
    return {pngbytes::file(pngbytes::header(width, height, depth, colourType, interlaced), chunks, scanlines),
            expected};
}

// ---- BMP ----

// Rows in file order, each padded to a multiple of four bytes; value(x, row)
// is an index (up to 8 bits) or a pixel stored little-endian.
QByteArray bmpRows(int width, int height, int bits, const std::function<quint32(int, int)>& value)
{
    QByteArray rows;
    for (int row = 0; row < height; ++row) {
        QByteArray line;
        if (bits <= 8) {
            BitWriter packed(bits);
            for (int x = 0; x < width; ++x)
                packed.put(value(x, row));
            line = packed.finished();
        } else {
            for (int x = 0; x < width; ++x)
                line += le32(value(x, row)).left(bits / 8);
        }
        rows += line.leftJustified((line.size() + 3) / 4 * 4, '\0');
    }
    return rows;
}

constexpr int bmpWidth = 7, bmpHeight = 5;

// The picture row a file row holds.
int pictureRow(int row, bool topDown)
{
    return topDown ? row : bmpHeight - 1 - row;
}

QRgb paletteColour(int index)
{
    return qRgb(int(scrambled(index, 0, 4) & 255), int(scrambled(index, 0, 5) & 255), int(scrambled(index, 0, 6) & 255));
}

// A palette picture whose palette has entries colours (the header counting
// coloursUsed, 0 meaning all the bit count allows).
Picture bmpIndexed(int infoSize, int bits, int entries, quint32 coloursUsed, bool topDown = false)
{
    QByteArray table;
    for (int i = 0; i < entries; ++i) {
        const QRgb colour = paletteColour(i);
        table += char(qBlue(colour)) + QByteArray(1, char(qGreen(colour))) + char(qRed(colour));
        if (infoSize != 12)
            table += '\0';
    }
    auto index = [&](int x, int row) { return scrambled(x, row, 0) % quint32(entries); };
    QImage expected = blankPicture(bmpWidth, bmpHeight);
    for (int row = 0; row < bmpHeight; ++row)
        for (int x = 0; x < bmpWidth; ++x)
            setPixel(expected, x, pictureRow(row, topDown), paletteColour(int(index(x, row))));
    const int height = topDown ? -bmpHeight : bmpHeight;
    return {bmpbytes::file(bmpbytes::info(infoSize, bmpWidth, height, bits, 0, coloursUsed), table,
                    bmpRows(bmpWidth, bmpHeight, bits, index)),
            expected};
}

// A 16-, 24- or 32-bit picture. masks say how the file's pixels hold their
// channels (for 24 bits: blue, green, red bytes); those of compression 3 and
// 6 go into the header when it has room, else after it.
Picture bmpDirect(int infoSize, int bits, quint32 compression, Masks masks, bool topDown = false)
{
    const bool fields = compression == 3 || compression == 6;
    QByteArray table;
    if (fields && infoSize == 40)
        for (int c = 0; c < (compression == 6 ? 4 : 3); ++c)
            table += le32(masks[size_t(c)]);
    auto pixel = [&](int x, int row) { return scrambled(x, row, 1) & (bits == 32 ? ~0u : (1u << bits) - 1); };
    auto channel = [](quint32 value, quint32 mask, uint absent) {
        return mask == 0 ? absent : to8((value & mask) >> std::countr_zero(mask), mask >> std::countr_zero(mask));
    };
    QImage expected = blankPicture(bmpWidth, bmpHeight);
    for (int row = 0; row < bmpHeight; ++row) {
        for (int x = 0; x < bmpWidth; ++x) {
            const quint32 value = pixel(x, row);
            setPixel(expected, x, pictureRow(row, topDown),
                     premultiplied(channel(value, masks[0], 0), channel(value, masks[1], 0),
                                   channel(value, masks[2], 0), channel(value, masks[3], 255)));
        }
    }
    const int height = topDown ? -bmpHeight : bmpHeight;
    return {bmpbytes::file(bmpbytes::info(infoSize, bmpWidth, height, bits, compression, 0, fields ? masks : Masks{}), table,
                    bmpRows(bmpWidth, bmpHeight, bits, pixel)),
            expected};
}

// An RLE picture of a four-colour palette and what it shows, drawn top row
// first: a digit is a palette index, '.' a pixel the data skipped.
Picture bmpRunLengths(quint32 compression, const QByteArray& data, const std::vector<const char*>& rows)
{
    const int width = int(strlen(rows[0])), height = int(rows.size());
    QByteArray table;
    QImage expected = blankPicture(width, height);
    for (int i = 0; i < 4; ++i)
        table += le32(paletteColour(i));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[size_t(y)][x] != '.')
                setPixel(expected, x, y, paletteColour(rows[size_t(y)][x] - '0'));
    return {bmpbytes::file(bmpbytes::info(40, width, height, compression == 1 ? 8 : 4, compression, 4), table, data), expected};
}

// Each 2 x 2 block of picture as its premultiplied mean, a block past an odd
// edge taking the pixels it has.
QImage halved(const QImage& picture)
{
    QImage half = blankPicture((picture.width() + 1) / 2, (picture.height() + 1) / 2);
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x) {
            std::array<int, 4> sums{};
            int count = 0;
            for (int i = 0; i < 4; ++i) {
                const QPoint at(2 * x + i % 2, 2 * y + i / 2);
                if (!picture.rect().contains(at))
                    continue;
                const QRgb pixel = reinterpret_cast<const QRgb*>(picture.constScanLine(at.y()))[at.x()];
                sums[0] += qRed(pixel), sums[1] += qGreen(pixel), sums[2] += qBlue(pixel), sums[3] += qAlpha(pixel);
                ++count;
            }
            auto mean = [count](int sum) { return (sum + count / 2) / count; };
            setPixel(half, x, y, qRgba(mean(sums[0]), mean(sums[1]), mean(sums[2]), mean(sums[3])));
        }
    return half;
}

// Where two pictures first differ, or an empty string.
QString firstDifference(const QImage& decoded, const QImage& expected)
{
    if (decoded.size() != expected.size())
        return QString("size %1 x %2, expected %3 x %4")
            .arg(decoded.width()).arg(decoded.height()).arg(expected.width()).arg(expected.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb got = reinterpret_cast<const QRgb*>(decoded.constScanLine(y))[x];
            const QRgb want = reinterpret_cast<const QRgb*>(expected.constScanLine(y))[x];
            if (got != want)
                return QString("pixel (%1, %2) is %3, expected %4 (premultiplied ARGB)")
                    .arg(x).arg(y).arg(got, 8, 16, QChar('0')).arg(want, 8, 16, QChar('0'));
        }
    return {};
}

}

class PictureFormatsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int files = 0;

    // Writes bytes to a new file and decodes it.
    PictureRead decoded(const QByteArray& file, QImage::Format format, int maxSide = 1000)
    {
        const std::string path = dir.filePath(QString("picture-%1").arg(++files)).toStdString();
        fixtures::writeText(path, file.toStdString());
        return image::decodePicture(image::openPicture(path), {maxSide, image::pictureBudget, format, {}});
    }

    // Decodes file for a side of maxSide, noting how far the resident set
    // rose meanwhile.
    struct MeasuredRead {
        PictureRead read;
        long grownKib = 0;
        bool bounded() const { return grownKib < 64 * 1024; }
        QString growth() const { return QString("the peak resident set grew by %1 KiB").arg(grownKib); }
    };
    MeasuredRead measuredDecode(const QByteArray& file, int maxSide)
    {
        MeasuredRead measured;
        measured.grownKib = procstatus::peakGrowthKib(
            [&] { measured.read = decoded(file, QImage::Format_ARGB32_Premultiplied, maxSide); });
        return measured;
    }

    void addPictureColumns()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QImage>("expected");
    }

    void comparePictures()
    {
        QFETCH(QByteArray, file);
        QFETCH(QImage, expected);
        for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA8888_Premultiplied}) {
            const PictureRead read = decoded(file, format);
            QCOMPARE(int(read.status), int(PictureRead::Loaded));
            QCOMPARE(read.image.format(), format);
            QCOMPARE(read.realSize, expected.size());
            const QString difference = firstDifference(read.image.convertToFormat(expected.format()), expected);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        image::setDecoderAllocationLimit();
    }

    void pngShowsWhatItsSamplesDefine_data()
    {
        addPictureColumns();
        struct Kind {
            const char* name;
            std::vector<int> depths;
            int colourType;
            bool transparency; // whether the format allows a tRNS chunk
        };
        const Kind kinds[] = {{"grey", {1, 2, 4, 8, 16}, 0, true}, {"RGB", {8, 16}, 2, true},
                              {"palette", {1, 2, 4, 8}, 3, true}, {"grey+alpha", {8, 16}, 4, false},
                              {"RGBA", {8, 16}, 6, false}};
        for (const Kind& kind : kinds)
            for (int depth : kind.depths)
                for (bool transparency : {false, true})
                    for (bool interlaced : {false, true}) {
                        if (transparency && !kind.transparency)
                            continue;
                        const Picture picture = pngPicture(kind.colourType, depth, transparency, interlaced);
                        QTest::addRow("%s %d-bit%s%s", kind.name, depth, transparency ? " tRNS" : "",
                                      interlaced ? " interlaced" : "")
                            << picture.file << picture.expected;
                    }
    }
    void pngShowsWhatItsSamplesDefine() { comparePictures(); }

    void bmpShowsWhatItsPixelsDefine_data()
    {
        addPictureColumns();
        auto add = [](const char* name, const Picture& picture) { QTest::newRow(name) << picture.file << picture.expected; };
        add("OS/2 1.x, 1 bit", bmpIndexed(12, 1, 2, 0));
        add("OS/2 1.x, 4 bits, 6-colour palette", bmpIndexed(12, 4, 6, 0));
        add("OS/2 1.x, 8 bits, 10-colour palette", bmpIndexed(12, 8, 10, 0));
        add("OS/2 1.x, 24 bits", bmpDirect(12, 24, 0, {0xff0000, 0xff00, 0xff, 0}));
        add("OS/2 2.x short header, 8 bits, 12-colour palette", bmpIndexed(16, 8, 12, 0));
        add("OS/2 2.x, 4 bits", bmpIndexed(64, 4, 16, 16));
        add("1 bit", bmpIndexed(40, 1, 2, 0));
        add("2 bits", bmpIndexed(40, 2, 4, 0));
        add("4 bits, 11 colours used", bmpIndexed(40, 4, 11, 11));
        add("8 bits, 256 colours", bmpIndexed(40, 8, 256, 0));
        add("8 bits, 30 colours used", bmpIndexed(40, 8, 30, 30));
        add("8 bits, top-down", bmpIndexed(40, 8, 30, 30, true));
        add("8 bits, version 5 header", bmpIndexed(124, 8, 30, 30));
        add("16 bits, 5-5-5", bmpDirect(40, 16, 0, {0x7c00, 0x03e0, 0x001f, 0}));
        add("16 bits, 5-6-5 fields", bmpDirect(40, 16, 3, {0xf800, 0x07e0, 0x001f, 0}));
        add("16 bits, 5-5-5-1 fields", bmpDirect(56, 16, 3, {0x7c00, 0x03e0, 0x001f, 0x8000}));
        add("16 bits, 5-5-5-1 alpha fields after the header", bmpDirect(40, 16, 6, {0x7c00, 0x03e0, 0x001f, 0x8000}));
        add("16 bits, 4-4-4-4 fields, version 4 header", bmpDirect(108, 16, 3, {0x0f00, 0x00f0, 0x000f, 0xf000}));
        add("24 bits", bmpDirect(40, 24, 0, {0xff0000, 0xff00, 0xff, 0}));
        add("24 bits, top-down", bmpDirect(40, 24, 0, {0xff0000, 0xff00, 0xff, 0}, true));
        add("32 bits, fourth byte unused", bmpDirect(40, 32, 0, {0xff0000, 0xff00, 0xff, 0}));
        add("32 bits, 10-10-10 fields", bmpDirect(40, 32, 3, {0x3ff00000, 0x000ffc00, 0x000003ff, 0}));
        add("32 bits, alpha fields after the header", bmpDirect(40, 32, 6, {0xff, 0xff00, 0xff0000, 0xff000000}));
        add("32 bits with alpha, version 5 header", bmpDirect(124, 32, 3, {0xff0000, 0xff00, 0xff, 0xff000000}));
        add("32 bits with alpha, version 4 header, top-down",
            bmpDirect(108, 32, 3, {0xff00, 0xff0000, 0xff000000, 0xff}, true));
        // Bottom row first: a run, literals (padded to a whole word), end of
        // row; a run, a skip right, a run; a skip right and up, a run, the end.
        add("RLE8 with skips", bmpRunLengths(1,
            bytes({3, 1, 0, 3, 2, 3, 0, 0, 0, 0, 2, 3, 0, 2, 1, 0, 2, 2, 0, 0, 0, 2, 4, 1, 2, 1, 0, 1}),
            {"....11", "......", "33.22.", "111230"}));
        add("RLE4 with skips", bmpRunLengths(2,
            bytes({3, 0x12, 0, 3, 0x30, 0x10, 0, 0, 2, 0x33, 0, 2, 1, 0, 3, 0x20, 0, 0, 0, 2, 4, 1, 2, 0x21, 0, 1}),
            {"....21", "......", "33.202", "121301"}));
    }
    void bmpShowsWhatItsPixelsDefine() { comparePictures(); }

    // A picture over the request is reduced while read: each 2 x 2 block
    // becomes its premultiplied mean. Run-length data, which comes bottom
    // row first and skips pixels, is reduced the same way.
    void picturesAreReducedWhileRead_data()
    {
        addPictureColumns();
        const Picture png = pngPicture(6, 8, false, false, {8, 8});
        QTest::newRow("PNG, RGBA") << png.file << png.expected;
        // Bottom row first: a run, a skip right and up two rows, literals;
        // the end of the row, a run, the end.
        const Picture runs = bmpRunLengths(1, bytes({3, 2, 0, 2, 1, 2, 0, 3, 1, 3, 2, 0, 0, 0, 2, 1, 0, 1}),
                                           {"11.....", "....132", ".......", "222...."});
        QTest::newRow("RLE8 with skips") << runs.file << runs.expected;
    }
    void picturesAreReducedWhileRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QImage, expected);
        const QImage half = halved(expected);
        const PictureRead read = decoded(file, QImage::Format_ARGB32_Premultiplied, std::max(half.width(), half.height()));
        QCOMPARE(int(read.status), int(PictureRead::Loaded));
        QCOMPARE(read.realSize, expected.size());
        const QString difference = firstDifference(read.image, half);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void questionableOrImpossibleFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray rgb = bmpDirect(40, 24, 0, {}).file;
        const QByteArray palette = le32(0x0000ff) + le32(0x00ff00) + le32(0xff0000) + le32(0xffffff);
        QTest::newRow("BMP declaring 24 x 8388624 in a few bytes")
            << bmpbytes::file(bmpbytes::info(40, 24, 8388624, 24), {}, QByteArray(6, '\0'));
        QTest::newRow("BMP short of its last pixel") << rgb.chopped(4);
        QTest::newRow("BMP index past its palette")
            << bmpbytes::file(bmpbytes::info(40, 2, 2, 8, 0, 4), palette, bytes({0, 4, 0, 0, 1, 2, 0, 0}));
        QTest::newRow("BMP mask with a gap")
            << bmpbytes::file(bmpbytes::info(56, 2, 1, 16, 3, 0, {0xf0f0, 0x0f00, 0x000f, 0}), {}, QByteArray(4, '\0'));
        QTest::newRow("BMP header of unknown size")
            << bmpbytes::file(bmpbytes::info(44, 2, 1, 24), {}, QByteArray(8, '\0'));
        QTest::newRow("RLE8 run past the row's end")
            << bmpbytes::file(bmpbytes::info(40, 4, 2, 8, 1, 4), palette, bytes({5, 1, 0, 0, 4, 1, 0, 1}));
        QTest::newRow("RLE8 skip past the top")
            << bmpbytes::file(bmpbytes::info(40, 4, 2, 8, 1, 4), palette, bytes({4, 1, 0, 2, 0, 3, 0, 1}));
        QTest::newRow("RLE8 data ending inside the picture")
            << bmpbytes::file(bmpbytes::info(40, 4, 2, 8, 1, 4), palette, bytes({4, 1, 0, 0}));
        QTest::newRow("RLE8 top-down")
            << bmpbytes::file(bmpbytes::info(40, 4, -2, 8, 1, 4), palette, bytes({4, 1, 0, 0, 4, 2, 0, 1}));
        QTest::newRow("PNG declaring more than its data can inflate to")
            << pngbytes::file(pngbytes::header(30000, 30000, 8, 0, false), {}, QByteArray(30001, '\0'));
    }
    void questionableOrImpossibleFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        const MeasuredRead measured = measuredDecode(file, 1000);
        QCOMPARE(int(measured.read.status), int(PictureRead::Undecodable));
        QVERIFY(measured.read.image.isNull());
        QVERIFY2(measured.bounded(), qPrintable(measured.growth()));
    }

    // Small files declaring huge pictures or chunks cost what their bytes
    // hold, not what they declare: read for a 2048 side, each stays far
    // below the gigabyte and more it would otherwise take.
    void declaredSizesCostOnlyWhatTheFileHolds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QSize>("realSize");
        for (const hostile::Declaring& file : hostile::declaringFarMore())
            QTest::newRow(file.name.c_str()) << file.bytes
                                              << int(file.shows ? PictureRead::Loaded : PictureRead::Undecodable)
                                              << file.realSize;
    }
    void declaredSizesCostOnlyWhatTheFileHolds()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(QSize, realSize);
        const MeasuredRead measured = measuredDecode(file, 2048);
        QVERIFY2(measured.bounded(), qPrintable(measured.growth()));
        const PictureRead& read = measured.read;
        QCOMPARE(int(read.status), status);
        QCOMPARE(read.realSize, realSize);
        QCOMPARE(read.image.isNull(), status != PictureRead::Loaded);
        if (status == PictureRead::Loaded)
            QVERIFY(std::max(read.image.width(), read.image.height()) <= 2048);
    }

    // A picture as wide as no image can be is refused, and gives back all
    // the memory it asked for: a thousand reads leave no address space
    // behind.
    void refusedWidthLeavesNothingBehind()
    {
        const QByteArray file = hostile::bmpRunLengths(8, {200000000, 1}, bytes({1, 3, 0, 1}));
        const std::string path = dir.filePath("wide-runs.bmp").toStdString();
        fixtures::writeText(path, file.toStdString());
        const long before = procstatus::kib("VmSize");
        for (int i = 0; i < 1000; ++i) {
            const PictureRead read
                = image::decodePicture(image::openPicture(path), {1 << 30, image::pictureBudget, QImage::Format_ARGB32_Premultiplied, {}});
            QCOMPARE(int(read.status), int(PictureRead::Undecodable));
        }
        const long grown = procstatus::kib("VmSize") - before;
        QVERIFY2(grown < 64 * 1024, qPrintable(QString("the address space grew by %1 KiB").arg(grown)));
    }
};

QTEST_GUILESS_MAIN(PictureFormatsTest)
#include "test_toolkit_picture_formats.moc"
