#include "toolkit/picture_texture.h"
#include "toolkit/huge_page_image.h"
#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace toolkit {

// Bytes in the order the texture keeps them, so the upload is a plain copy.
static constexpr auto pixelFormat = QOpenGLTexture::RGBA;
static constexpr auto pixelType = QOpenGLTexture::UInt8;

// The average of four premultiplied pixels, channel by channel, rounded:
// two channels at a time, each sum fitting in its 16-bit lane.
static quint32 average(quint32 a, quint32 b, quint32 c, quint32 d)
{
    constexpr quint32 mask = 0x00ff00ff, half = 0x00020002;
    const quint32 even = (a & mask) + (b & mask) + (c & mask) + (d & mask) + half;
    const quint32 odd = ((a >> 8) & mask) + ((b >> 8) & mask) + ((c >> 8) & mask) + ((d >> 8) & mask) + half;
    return ((even >> 2) & mask) | (((odd >> 2) & mask) << 8);
}

// The next mipmap level: half the size, rounded down as OpenGL sizes its
// levels, each pixel the box average of the 2 x 2 it covers.
static QImage halved(const QImage& source)
{
    QImage level = hugePageImage({std::max(1, source.width() / 2), std::max(1, source.height() / 2)}, source.format());
    const int dx = source.width() > 1 ? 1 : 0, dy = source.height() > 1 ? 1 : 0;
    for (int y = 0; y < level.height(); ++y) {
        const auto* top = reinterpret_cast<const quint32*>(source.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const quint32*>(source.constScanLine(2 * y + dy));
        auto* out = reinterpret_cast<quint32*>(level.scanLine(y));
        for (int x = 0; x < level.width(); ++x)
            out[x] = average(top[2 * x], top[2 * x + dx], bottom[2 * x], bottom[2 * x + dx]);
    }
    return level;
}

static std::vector<QImage> mipLevels(const QImage& picture)
{
    std::vector<QImage> levels;
    for (const QImage* last = &picture; last->width() > 1 || last->height() > 1; last = &levels.back())
        levels.push_back(halved(*last));
    return levels;
}

// Pictures that carry their levels, found by their pixels' address: that
// stays the same through every copy of the picture and is released with it.
struct Carried {
    QImage picture;
    std::vector<QImage> levels;
};
static std::mutex carriedMutex;
static std::unordered_map<const uchar*, const Carried*> carriedByPixels;

static bool carriesLevels(const QImage& picture)
{
    const std::lock_guard lock(carriedMutex);
    return carriedByPixels.contains(picture.constBits());
}

QImage withMipLevels(QImage picture)
{
    picture.convertTo(pictureFormat);
    if (carriesLevels(picture))
        return picture;
    auto* carried = new Carried{picture, mipLevels(picture)};
    const uchar* pixels = carried->picture.constBits();
    QImage carrier(pixels, picture.width(), picture.height(), picture.bytesPerLine(), picture.format(),
        [](void* info) {
            auto* carried = static_cast<Carried*>(info);
            {
                const std::lock_guard lock(carriedMutex);
                carriedByPixels.erase(carried->picture.constBits());
            }
            delete carried;
        },
        carried);
    const std::lock_guard lock(carriedMutex);
    carriedByPixels[pixels] = carried;
    return carrier;
}

static std::vector<QImage> levelsOf(const QImage& picture)
{
    {
        const std::lock_guard lock(carriedMutex);
        if (auto found = carriedByPixels.find(picture.constBits()); found != carriedByPixels.end())
            return found->second->levels;
    }
    return mipLevels(picture);
}

void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, QImage picture, int firstLevel)
{
    // Our own upload: QOpenGLTexture's QImage path would un-premultiply.
    picture.convertTo(pictureFormat);
    const std::vector<QImage> smaller = levelsOf(picture);
    const int count = int(smaller.size()) + 1;
    firstLevel = std::clamp(firstLevel, 0, count - 1);
    auto level = [&](int i) -> const QImage& { return i == 0 ? picture : smaller[size_t(i) - 1]; };
    const QImage& first = level(firstLevel);
    if (!texture || texture->width() != first.width() || texture->height() != first.height()) {
        texture = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture->setAutoMipMapGenerationEnabled(false);
        texture->setFormat(QOpenGLTexture::RGBA8_UNorm);
        texture->setSize(first.width(), first.height());
        texture->setMipLevels(count - firstLevel);
        texture->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
        texture->setWrapMode(QOpenGLTexture::ClampToEdge);
        texture->allocateStorage(pixelFormat, pixelType);
    }
    for (int i = firstLevel; i < count; ++i)
        texture->setData(i - firstLevel, pixelFormat, pixelType, level(i).constBits());
}

}
