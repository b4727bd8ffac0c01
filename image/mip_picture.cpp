#include "image/mip_picture.h"
#include "image/huge_page_memory.h"
#include <algorithm>
#include <thread>

namespace image {

// The average of four premultiplied pixels, channel by channel, rounded:
// two channels at a time, each sum fitting in its 16-bit lane.
static quint32 average(quint32 a, quint32 b, quint32 c, quint32 d)
{
    constexpr quint32 mask = 0x00ff00ff, half = 0x00020002;
    const quint32 even = (a & mask) + (b & mask) + (c & mask) + (d & mask) + half;
    const quint32 odd = ((a >> 8) & mask) + ((b >> 8) & mask) + ((c >> 8) & mask) + ((d >> 8) & mask) + half;
    return ((even >> 2) & mask) | (((odd >> 2) & mask) << 8);
}

// Rows first up to last of the level that halves source, written at out.
static void halveRows(const QImage& source, uchar* out, qsizetype outStride, int width, int first, int last)
{
    const int dx = source.width() > 1 ? 1 : 0, dy = source.height() > 1 ? 1 : 0;
    for (int y = first; y < last; ++y) {
        const auto* top = reinterpret_cast<const quint32*>(source.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const quint32*>(source.constScanLine(2 * y + dy));
        auto* row = reinterpret_cast<quint32*>(out + outStride * y);
        for (qsizetype x = 0; x < width; ++x)
            row[x] = average(top[2 * x], top[2 * x + dx], bottom[2 * x], bottom[2 * x + dx]);
    }
}

// The level below source; made on two threads, each taking half the rows,
// when threads allows and the level is large enough to be worth a thread.
static QImage halved(const QImage& source, int threads)
{
    QImage level = hugePageImage({std::max(1, source.width() / 2), std::max(1, source.height() / 2)}, source.format());
    // Both threads write through these, never through the shared QImage.
    uchar* const out = level.bits();
    const qsizetype stride = level.bytesPerLine();
    const int width = level.width(), height = level.height();
    if (threads > 1 && qint64(width) * height >= qint64(1) << 18) {
        std::thread helper([&] { halveRows(source, out, stride, width, height / 2, height); });
        halveRows(source, out, stride, width, 0, height / 2);
        helper.join();
    } else {
        halveRows(source, out, stride, width, 0, height);
    }
    return level;
}

MipPicture::MipPicture(QImage picture, int threads)
{
    if (picture.isNull())
        return;
    picture.convertTo(pictureFormat);
    levels_.push_back(std::move(picture));
    while (levels_.back().width() > 1 || levels_.back().height() > 1)
        levels_.push_back(halved(levels_.back(), threads));
}

}
