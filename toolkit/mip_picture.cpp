#include "toolkit/mip_picture.h"
#include "toolkit/huge_page_image.h"
#include <algorithm>

namespace toolkit {

// The average of four premultiplied pixels, channel by channel, rounded:
// two channels at a time, each sum fitting in its 16-bit lane.
static quint32 average(quint32 a, quint32 b, quint32 c, quint32 d)
{
    constexpr quint32 mask = 0x00ff00ff, half = 0x00020002;
    const quint32 even = (a & mask) + (b & mask) + (c & mask) + (d & mask) + half;
    const quint32 odd = ((a >> 8) & mask) + ((b >> 8) & mask) + ((c >> 8) & mask) + ((d >> 8) & mask) + half;
    return ((even >> 2) & mask) | (((odd >> 2) & mask) << 8);
}

static QImage halved(const QImage& source)
{
    QImage level = hugePageImage({std::max(1, source.width() / 2), std::max(1, source.height() / 2)}, source.format());
    const int dx = source.width() > 1 ? 1 : 0, dy = source.height() > 1 ? 1 : 0;
    for (int y = 0; y < level.height(); ++y) {
        const auto* top = reinterpret_cast<const quint32*>(source.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const quint32*>(source.constScanLine(2 * y + dy));
        auto* out = reinterpret_cast<quint32*>(level.scanLine(y));
        for (qsizetype x = 0; x < level.width(); ++x)
            out[x] = average(top[2 * x], top[2 * x + dx], bottom[2 * x], bottom[2 * x + dx]);
    }
    return level;
}

MipPicture::MipPicture(QImage picture)
{
    if (picture.isNull())
        return;
    picture.convertTo(pictureFormat);
    levels_.push_back(std::move(picture));
    while (levels_.back().width() > 1 || levels_.back().height() > 1)
        levels_.push_back(halved(levels_.back()));
}

}
