#include "image/bmp_reader.h"
#include "image/huge_page_memory.h"
#include "image/premultiplied_pixels.h"
#include "image/row_reducer.h"
#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <optional>
#include <vector>

namespace image {

namespace {

enum Compression : quint32 { plain = 0, rle8 = 1, rle4 = 2, bitFields = 3, alphaBitFields = 6 };

constexpr qint64 fileHeaderSize = 14;

// One channel's bits within a 16- or 32-bit pixel.
struct Mask {
    quint32 bits = 0;
    int shift = 0;
    quint64 largest = 0; // the field's largest value; 0 when the channel is absent

    static std::optional<Mask> of(quint32 bits)
    {
        if (bits == 0)
            return Mask{};
        const int shift = std::countr_zero(bits);
        const quint64 field = bits >> shift;
        if ((field & (field + 1)) != 0)
            return {}; // a mask with a gap has no agreed meaning
        return Mask{bits, shift, field};
    }

    // The channel's value scaled to 8 bits, or absent when there is none.
    uint value(quint32 pixel, uint absent) const
    {
        if (largest == 0)
            return absent;
        return uint((((pixel & bits) >> shift) * quint64(255) + largest / 2) / largest);
    }
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = plain;
    qint64 pixelsAt = 0;
    std::array<Mask, 4> masks{}; // red, green, blue, alpha
    std::vector<QRgb> palette;

    qint64 stride() const { return (qint64(width) * bitCount + 31) / 32 * 4; }
};

class Bytes {
public:
    explicit Bytes(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), size_(bytes.size())
    {
    }
    qint64 size() const { return size_; }
    const uchar* at(qint64 offset) const { return data_ + offset; }
    bool holds(qint64 offset, qint64 length) const { return offset >= 0 && length >= 0 && offset + length <= size_; }
    quint32 u16(qint64 offset) const { return qFromLittleEndian<quint16>(data_ + offset); }
    quint32 u32(qint64 offset) const { return qFromLittleEndian<quint32>(data_ + offset); }

private:
    const uchar* data_;
    qint64 size_;
};

bool readMasks(const Bytes& bytes, qint64 infoSize, Layout& layout, qint64& tableAt)
{
    // The first version of the header is followed by the masks; later ones
    // hold them, the alpha mask from the third version on.
    qint64 at = fileHeaderSize + 40;
    int count = infoSize >= 56 ? 4 : 3;
    if (infoSize == 40) {
        count = layout.compression == alphaBitFields ? 4 : 3;
        tableAt += qint64(count) * 4;
        if (!bytes.holds(at, qint64(count) * 4))
            return false;
    }
    for (size_t channel = 0; channel < size_t(count); ++channel, at += 4) {
        const std::optional<Mask> mask = Mask::of(bytes.u32(at));
        if (!mask)
            return false;
        layout.masks[channel] = *mask;
    }
    return true;
}

bool readPalette(const Bytes& bytes, quint32 coloursUsed, int entrySize, qint64 tableAt, Layout& layout)
{
    const qint64 possible = qint64(1) << layout.bitCount;
    if (coloursUsed > possible)
        return false;
    qint64 entries = coloursUsed > 0 ? coloursUsed : possible;
    // However many entries the header implies, the palette ends where the
    // pixels begin: old OS/2 files keep short palettes.
    entries = std::min(entries, (layout.pixelsAt - tableAt) / entrySize);
    if (entries <= 0 || !bytes.holds(tableAt, entries * entrySize))
        return false;
    for (qint64 i = 0; i < entries; ++i) {
        const uchar* entry = bytes.at(tableAt + i * entrySize);
        layout.palette.push_back(qRgb(entry[2], entry[1], entry[0]));
    }
    return true;
}

// Whether the compression suits the bit count; sets the masks that plain
// 16- and 32-bit pixels imply.
bool settleCompression(Layout& layout)
{
    switch (layout.compression) {
    case plain:
        if (layout.bitCount == 16)
            layout.masks = {Mask{0x7c00, 10, 31}, Mask{0x03e0, 5, 31}, Mask{0x001f, 0, 31}, Mask{}};
        else if (layout.bitCount == 32)
            layout.masks = {Mask{0xff0000, 16, 255}, Mask{0xff00, 8, 255}, Mask{0xff, 0, 255}, Mask{}};
        return std::has_single_bit(uint(layout.bitCount)) || layout.bitCount == 24;
    case rle8:
        return layout.bitCount == 8 && !layout.topDown;
    case rle4:
        return layout.bitCount == 4 && !layout.topDown;
    case bitFields:
    case alphaBitFields:
        return layout.bitCount == 16 || layout.bitCount == 32;
    default:
        return false;
    }
}

std::optional<Layout> readLayout(const Bytes& bytes)
{
    if (!bytes.holds(0, fileHeaderSize + 4))
        return {};
    const qint64 infoSize = bytes.u32(fileHeaderSize);
    constexpr std::array<qint64, 8> knownSizes{12, 16, 40, 52, 56, 64, 108, 124};
    if (std::find(knownSizes.begin(), knownSizes.end(), infoSize) == knownSizes.end()
        || !bytes.holds(fileHeaderSize, infoSize))
        return {};
    Layout layout;
    layout.pixelsAt = bytes.u32(10);
    const qint64 info = fileHeaderSize;
    qint64 width = 0, height = 0;
    quint32 coloursUsed = 0;
    int entrySize = 4;
    if (infoSize == 12) { // OS/2 1.x: 16-bit sizes, three-byte palette entries
        width = bytes.u16(info + 4);
        height = bytes.u16(info + 6);
        layout.bitCount = int(bytes.u16(info + 10));
        entrySize = 3;
    } else {
        width = qint32(bytes.u32(info + 4));
        height = qint32(bytes.u32(info + 8));
        layout.bitCount = int(bytes.u16(info + 14));
        layout.compression = infoSize > 16 ? bytes.u32(info + 16) : plain;
        coloursUsed = infoSize > 32 ? bytes.u32(info + 32) : 0;
        // OS/2 2.x headers give compressions 3 and 4 meanings of their own.
        if ((infoSize == 16 || infoSize == 64) && layout.compression > rle4)
            return {};
    }
    layout.topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || height > INT_MAX)
        return {};
    layout.width = int(width);
    layout.height = int(height);
    if (!settleCompression(layout))
        return {};

    qint64 tableAt = info + infoSize;
    if (layout.compression == bitFields || layout.compression == alphaBitFields)
        if (!readMasks(bytes, infoSize, layout, tableAt))
            return {};
    if (layout.pixelsAt < tableAt || layout.pixelsAt >= bytes.size())
        return {};
    if (layout.bitCount <= 8 && !readPalette(bytes, coloursUsed, entrySize, tableAt, layout))
        return {};
    return layout;
}

// Where decoded rows go, top to bottom: into the image, or through a
// reducer when the picture is wanted smaller, so that no full-size copy is made.
class RowSink {
public:
    RowSink(QImage& image, int reduction, QSize source) : image_(image)
    {
        if (reduction == 1)
            return;
        row_.resize(size_t(source.width()) * 4);
        reducer_.emplace(image, reduction, source.width(), source.height());
    }
    uchar* row(int y) { return reducer_ ? row_.data() : image_.scanLine(y); }
    void rowDone()
    {
        if (reducer_)
            reducer_->add(row_.data());
    }

private:
    QImage& image_;
    std::vector<uchar> row_;
    std::optional<RowReducer> reducer_;
};

bool readPlain(const Bytes& bytes, const Layout& layout, const DecodeRequest& request, RowSink& sink)
{
    const ChannelOrder order = channelOrder(request.format);
    const int bits = layout.bitCount;
    for (int y = 0; y < layout.height; ++y) {
        if (request.stop.stop_requested())
            return false;
        const qint64 row = layout.topDown ? y : layout.height - 1 - y;
        const uchar* source = bytes.at(layout.pixelsAt + row * layout.stride());
        uchar* out = sink.row(y);
        for (int x = 0; x < layout.width; ++x, out += 4) {
            if (bits <= 8) {
                const qint64 bit = qint64(x) * bits;
                const uint index = (source[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= layout.palette.size())
                    return false;
                const QRgb colour = layout.palette[index];
                storePixel(out, order, qRed(colour), qGreen(colour), qBlue(colour), 255);
            } else if (bits == 24) {
                const uchar* pixel = source + qint64(x) * 3;
                storePixel(out, order, pixel[2], pixel[1], pixel[0], 255);
            } else {
                const quint32 pixel = bits == 16 ? qFromLittleEndian<quint16>(source + qint64(x) * 2)
                                                 : qFromLittleEndian<quint32>(source + qint64(x) * 4);
                const auto& [red, green, blue, alpha] = layout.masks;
                storePixel(out, order, red.value(pixel, 0), green.value(pixel, 0), blue.value(pixel, 0),
                           alpha.value(pixel, 255));
            }
        }
        sink.rowDone();
    }
    return true;
}

// Where run-length data stands: the next code's offset, and the pixel it
// draws at, rows counted from the bottom as the data runs.
struct RunCursor {
    qint64 at = 0;
    int x = 0;
    int y = 0;
};

enum class RunCode { Drew, Moved, Ended, Broken };

// RLE8 and RLE4: runs of one index (two alternating ones in RLE4), and
// escapes for the end of a row, the end of the picture, a skip and a stretch
// of literal indices. Reads the code at cursor, handing each pixel it draws
// to draw(x, y, colour), and moves cursor past it. What a code cannot mean
// (a pixel past the row's end or the top, an index past the palette, data
// that ends inside the picture) is Broken.
template <class Draw>
RunCode readRunCode(const Bytes& bytes, const Layout& layout, RunCursor& cursor, Draw&& draw)
{
    const bool nibbles = layout.compression == rle4;
    auto put = [&](uint index) {
        if (cursor.x >= layout.width || cursor.y >= layout.height || index >= layout.palette.size())
            return false;
        draw(cursor.x++, cursor.y, layout.palette[index]);
        return true;
    };
    if (!bytes.holds(cursor.at, 2)) // a coder may leave out the end marker after the last row
        return cursor.y >= layout.height ? RunCode::Ended : RunCode::Broken;
    const uint count = *bytes.at(cursor.at), value = *bytes.at(cursor.at + 1);
    cursor.at += 2;
    if (count > 0) {
        for (uint i = 0; i < count; ++i)
            if (!put(nibbles ? (i % 2 == 0 ? value >> 4 : value & 15) : value))
                return RunCode::Broken;
        return RunCode::Drew;
    }
    switch (value) {
    case 0: // end of row
        cursor.x = 0;
        ++cursor.y;
        return RunCode::Moved;
    case 1: // end of picture
        return RunCode::Ended;
    case 2: // skip right and up, leaving pixels transparent
        if (!bytes.holds(cursor.at, 2))
            return RunCode::Broken;
        cursor.x += *bytes.at(cursor.at);
        cursor.y += *bytes.at(cursor.at + 1);
        cursor.at += 2;
        return cursor.x > layout.width || cursor.y > layout.height ? RunCode::Broken : RunCode::Moved;
    default: { // value literal indices, padded to a whole 16-bit word
        const qint64 length = nibbles ? (value + 1) / 2 : value;
        if (!bytes.holds(cursor.at, length))
            return RunCode::Broken;
        for (uint i = 0; i < value; ++i) {
            const uint byte = *bytes.at(cursor.at + (nibbles ? i / 2 : i));
            if (!put(nibbles ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte))
                return RunCode::Broken;
        }
        cursor.at += (length + 1) & ~qint64(1);
        return RunCode::Drew;
    }
    }
}

// Reads all the run-length data, handing every pixel to draw; false when
// it is broken or the request stops.
template <class Draw>
bool readRuns(const Bytes& bytes, const Layout& layout, const DecodeRequest& request, Draw&& draw)
{
    for (RunCursor cursor{layout.pixelsAt, 0, 0};;) {
        switch (readRunCode(bytes, layout, cursor, draw)) {
        case RunCode::Ended:
            return true;
        case RunCode::Broken:
            return false;
        case RunCode::Moved:
        case RunCode::Drew:
            if (request.stop.stop_requested())
                return false;
        }
    }
}

void storeColour(uchar* out, ChannelOrder order, QRgb colour)
{
    storePixel(out, order, qRed(colour), qGreen(colour), qBlue(colour), 255);
}

// A run-length picture at full size: it starts transparent, since runs may
// skip pixels.
bool readRunsWhole(const Bytes& bytes, const Layout& layout, const DecodeRequest& request, QImage& image)
{
    const ChannelOrder order = channelOrder(request.format);
    image.fill(Qt::transparent);
    return readRuns(bytes, layout, request, [&](int x, int y, QRgb colour) {
        storeColour(image.scanLine(layout.height - 1 - y) + qint64(x) * 4, order, colour);
    });
}

// A run-length picture reduced while read. The data runs bottom to top and
// may skip any number of rows, so a first pass notes where each row that
// has pixels begins; the second reads those rows top to bottom into the
// reducer, and passes over the empty ones in whole bands. Time and memory
// follow the file's codes and the reduced picture, not the declared size.
bool readRunsReduced(const Bytes& bytes, const Layout& layout, const DecodeRequest& request, RowReducer& reducer)
{
    std::vector<RunCursor> rowStarts; // by row, bottom first
    bool drew = false;
    auto noteRow = [&](int, int, QRgb) { drew = true; };
    for (RunCursor cursor{layout.pixelsAt, 0, 0};;) {
        const RunCursor before = cursor;
        drew = false;
        const RunCode code = readRunCode(bytes, layout, cursor, noteRow);
        if (code == RunCode::Broken || request.stop.stop_requested())
            return false;
        if (code == RunCode::Ended)
            break;
        if (drew && (rowStarts.empty() || rowStarts.back().y != before.y))
            rowStarts.push_back(before);
    }
    const ChannelOrder order = channelOrder(request.format);
    auto reduce = [&](int x, int, QRgb colour) {
        uchar pixel[4];
        storeColour(pixel, order, colour);
        reducer.addPixel(x, pixel);
    };
    int next = layout.height - 1; // the next row the reducer takes, counted from the bottom
    for (auto start = rowStarts.rbegin(); start != rowStarts.rend(); ++start) {
        reducer.endRows(next - start->y); // the empty rows above it
        RunCursor cursor = *start;
        for (RunCode code = RunCode::Moved; cursor.y == start->y && (code == RunCode::Drew || code == RunCode::Moved);)
            code = readRunCode(bytes, layout, cursor, reduce);
        reducer.endRows(1);
        next = start->y - 1;
        if (request.stop.stop_requested())
            return false;
    }
    reducer.endRows(next + 1);
    return true;
}

}

PictureRead decodeBmp(const QByteArray& file, const DecodeRequest& request)
{
    PictureRead refused{PictureRead::Undecodable, 0, {}, {}};
    const Bytes bytes(file);
    const std::optional<Layout> layout = readLayout(bytes);
    if (!layout)
        return refused;
    const QSize size(layout->width, layout->height);
    if (pixelCount(size) > request.pixelBudget)
        return refused;
    const bool plainRows = layout->compression != rle8 && layout->compression != rle4;
    if (plainRows) {
        const qint64 lastRow = (qint64(layout->width) * layout->bitCount + 7) / 8;
        if (!bytes.holds(layout->pixelsAt, layout->stride() * (layout->height - 1) + lastRow))
            return refused;
    }
    const int reduction = reductionFor(size, fittedSize(size, request), RowReducer::largestReduction);
    PictureRead result{PictureRead::Loaded, 0, hugePageImage(reducedSize(size, reduction), request.format), size};
    if (result.image.isNull())
        return refused;
    bool read = false;
    if (plainRows) {
        RowSink sink(result.image, reduction, size);
        read = readPlain(bytes, *layout, request, sink);
    } else if (reduction == 1) {
        read = readRunsWhole(bytes, *layout, request, result.image);
    } else {
        RowReducer reducer(result.image, reduction, size.width(), size.height());
        read = readRunsReduced(bytes, *layout, request, reducer);
    }
    return read ? result : refused;
}

}
