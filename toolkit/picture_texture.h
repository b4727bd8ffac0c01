#pragma once
// Puts a picture into an OpenGL texture for the 3D view.
#include <QImage>
#include <QOpenGLTexture>
#include <memory>

namespace toolkit {

// The byte order textures keep: pictures in it go up without conversion.
inline constexpr QImage::Format pictureFormat = QImage::Format_RGBA8888_Premultiplied;

// Returns picture (in pictureFormat) carrying its smaller mipmap
// levels, made now on the calling thread unless it carries them already, so
// that a worker can spare the upload that work. The levels live as long as
// the picture's pixels.
QImage withMipLevels(QImage picture);

// Uploads picture's premultiplied pixels unchanged from mipmap level
// firstLevel down to 1 x 1 (the levels it carries, or made now), with linear
// magnification and trilinear minification: the texture's own level 0 is
// the picture's level firstLevel. Keeps texture's storage when it has that
// level's size and replaces the texture otherwise. Needs the texture's
// context to be current.
void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, QImage picture, int firstLevel = 0);

}
