#include "toolkit/picture_texture.h"

namespace toolkit {

// A 32-bit ARGB word read with the reversed 8-8-8-8 packing is BGRA on any
// byte order, so the pixels go up as they lie in memory.
static constexpr auto pixelFormat = QOpenGLTexture::BGRA;
static constexpr auto pixelType = QOpenGLTexture::UInt32_RGBA8_Rev;

void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, QImage picture)
{
    // Our own upload: QOpenGLTexture's QImage path would un-premultiply.
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (!texture || texture->width() != picture.width() || texture->height() != picture.height()) {
        texture = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture->setFormat(QOpenGLTexture::RGBA8_UNorm);
        texture->setSize(picture.width(), picture.height());
        texture->setMipLevels(texture->maximumMipLevels());
        texture->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
        texture->setWrapMode(QOpenGLTexture::ClampToEdge);
        texture->allocateStorage(pixelFormat, pixelType);
    }
    // Setting level 0 regenerates the smaller mipmap levels.
    texture->setData(pixelFormat, pixelType, picture.constBits());
}

}
