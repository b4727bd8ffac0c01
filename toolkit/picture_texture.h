#pragma once
// Puts a picture into an OpenGL texture for the 3D view.
#include <QImage>
#include <QOpenGLTexture>
#include <memory>

namespace toolkit {

// The byte order textures keep: pictures in it go up without conversion.
inline constexpr QImage::Format pictureFormat = QImage::Format_RGBA8888_Premultiplied;

// Returns picture (in pictureFormat) carrying its smaller mipmap
// levels, made now on the calling thread, so that a worker can spare the
// upload that work. The levels live as long as the picture's pixels.
QImage withMipLevels(QImage picture);

// Uploads picture's premultiplied pixels unchanged, with its mipmap levels
// (those it carries, or made now), linear magnification and trilinear
// minification. Keeps texture's storage when it has the picture's size and
// replaces the texture otherwise. Needs the texture's context to be current.
void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, QImage picture);

}
