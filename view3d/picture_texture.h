#pragma once
// Puts a picture into an OpenGL texture for the 3D view.
#include "image/mip_picture.h"
#include <QOpenGLTexture>
#include <limits>
#include <memory>

namespace view3d {

// A picture going up into a texture part by part: its coarse levels first,
// its finer ones over later frames, so that no frame carries the whole of a
// big picture. The texture samples only the levels already up, so the plane
// shows the picture at once, coarse, and sharpens. Premultiplied pixels go
// up unchanged, with linear magnification and trilinear minification; the
// texture's level 0 is the finest picture level wanted so far. Needs the
// texture's context to be current.
class PictureUpload {
public:
    static constexpr qint64 whole = std::numeric_limits<qint64>::max();

    // A new picture, nothing of it up yet. The texture's storage is kept
    // for it if it has the size and levels needed.
    void take(image::MipPicture picture);
    // Uploads toward the picture's level `level`: the coarsest level whole,
    // then at most about budget bytes. Returns whether more remains for
    // later frames. The picture is let go once its level 0 is up.
    bool provide(int level, qint64 budget = whole);
    // The size of the picture still going up; empty when it is all up.
    QSize waitingSize() const { return picture_.size(); }
    // Null until some level is up.
    QOpenGLTexture* texture() const { return shownLevel_ < levelCount_ ? texture_.get() : nullptr; }

private:
    void allocate(int level);

    image::MipPicture picture_;
    std::unique_ptr<QOpenGLTexture> texture_;
    bool fresh_ = false;   // the storage is not yet chosen for picture_
    int levelCount_ = 0;   // picture_'s levels
    int storageLevel_ = 0; // the picture level that is the texture's level 0
    int shownLevel_ = 0;   // the finest picture level up; levelCount_ when none
    int rowsUp_ = 0;       // rows of level shownLevel_ - 1 up so far
};

}
