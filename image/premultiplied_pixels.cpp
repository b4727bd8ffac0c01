#include "image/premultiplied_pixels.h"

namespace image {

ChannelOrder channelOrder(QImage::Format format)
{
    if (format == QImage::Format_RGBA8888_Premultiplied)
        return {0, 1, 2, 3};
    // Format_ARGB32_Premultiplied is a 32-bit word 0xAARRGGBB in memory order.
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        return {2, 1, 0, 3};
    return {1, 2, 3, 0};
}

void premultiplyRow(uchar* row, int width, ChannelOrder order)
{
    for (uchar* pixel = row; pixel < row + qsizetype(width) * 4; pixel += 4)
        storePixel(pixel, order, pixel[order.red], pixel[order.green], pixel[order.blue], pixel[order.alpha]);
}

}
