#pragma once
// Pixels of the two 32-bit premultiplied formats decoders deliver: where
// each channel's byte sits, and turning straight colour into premultiplied.
#include <QImage>

namespace image {

// Byte offsets of the channels within a pixel.
struct ChannelOrder {
    int red, green, blue, alpha;
};

// format is Format_ARGB32_Premultiplied or Format_RGBA8888_Premultiplied.
ChannelOrder channelOrder(QImage::Format format);

// c * alpha / 255, rounded to nearest.
inline uchar premultiplied(uint c, uint alpha)
{
    const uint product = c * alpha + 128;
    return uchar((product + (product >> 8)) >> 8);
}

// Stores a straight (not premultiplied) colour at pixel, premultiplied.
inline void storePixel(uchar* pixel, ChannelOrder order, uint red, uint green, uint blue, uint alpha)
{
    pixel[order.red] = premultiplied(red, alpha);
    pixel[order.green] = premultiplied(green, alpha);
    pixel[order.blue] = premultiplied(blue, alpha);
    pixel[order.alpha] = uchar(alpha);
}

// Premultiplies a row of width straight pixels in place.
void premultiplyRow(uchar* row, int width, ChannelOrder order);

}
