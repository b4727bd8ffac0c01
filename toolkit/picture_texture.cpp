#include "toolkit/picture_texture.h"
#include <algorithm>

namespace toolkit {

// Bytes in the order the texture keeps them, so the upload is a plain copy.
static constexpr auto pixelFormat = QOpenGLTexture::RGBA;
static constexpr auto pixelType = QOpenGLTexture::UInt8;

void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, const MipPicture& picture, int firstLevel)
{
    // Our own upload: QOpenGLTexture's QImage path would un-premultiply.
    if (picture.isNull())
        return;
    const int count = picture.levelCount();
    firstLevel = std::clamp(firstLevel, 0, count - 1);
    const QImage& first = picture.level(firstLevel);
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
        texture->setData(i - firstLevel, pixelFormat, pixelType, picture.level(i).constBits());
}

}
