#include "view3d/picture_texture.h"
#include <algorithm>

namespace view3d {

// Bytes in the order the texture keeps them, so the upload is a plain copy.
static constexpr auto pixelFormat = QOpenGLTexture::RGBA;
static constexpr auto pixelType = QOpenGLTexture::UInt8;

void PictureUpload::take(image::MipPicture picture)
{
    picture_ = std::move(picture);
    levelCount_ = picture_.levelCount();
    fresh_ = true;
}

// Storage for the picture's levels from level down to 1 x 1, nothing up.
void PictureUpload::allocate(int level)
{
    const QImage& first = picture_.level(level);
    const int levels = levelCount_ - level;
    if (!texture_ || texture_->width() != first.width() || texture_->height() != first.height()
        || texture_->mipLevels() != levels) {
        // Our own upload: QOpenGLTexture's QImage path would un-premultiply.
        texture_ = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture_->setAutoMipMapGenerationEnabled(false);
        texture_->setFormat(QOpenGLTexture::RGBA8_UNorm);
        texture_->setSize(first.width(), first.height());
        texture_->setMipLevels(levels);
        texture_->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
        texture_->setWrapMode(QOpenGLTexture::ClampToEdge);
        texture_->allocateStorage(pixelFormat, pixelType);
    }
    storageLevel_ = level;
    shownLevel_ = levelCount_;
    rowsUp_ = 0;
    fresh_ = false;
}

bool PictureUpload::provide(int level, qint64 budget)
{
    if (picture_.isNull())
        return false;
    level = std::clamp(level, 0, levelCount_ - 1);
    if (fresh_ || level < storageLevel_)
        allocate(level);
    // Without a base level the texture would sample levels not yet up.
    const bool partly = QOpenGLTexture::hasFeature(QOpenGLTexture::TextureMipMapLevel);
    if (!partly)
        budget = whole;
    qint64 spent = 0;
    while (shownLevel_ > level) {
        const int next = shownLevel_ - 1;
        const QImage& image = picture_.level(next);
        const qint64 rowBytes = image.bytesPerLine();
        int rows = image.height() - rowsUp_;
        if (shownLevel_ < levelCount_) {
            if (spent >= budget)
                break;
            rows = int(std::clamp<qint64>((budget - spent) / rowBytes, 1, rows));
        }
        texture_->setData(0, rowsUp_, 0, image.width(), rows, 1, next - storageLevel_, pixelFormat, pixelType,
                          image.constScanLine(rowsUp_));
        spent += rows * rowBytes;
        rowsUp_ += rows;
        if (rowsUp_ < image.height())
            break;
        rowsUp_ = 0;
        shownLevel_ = next;
        if (partly)
            texture_->setMipBaseLevel(shownLevel_ - storageLevel_);
    }
    if (shownLevel_ == 0)
        picture_ = image::MipPicture();
    return shownLevel_ > level;
}

}
