#pragma once
// Puts a picture into an OpenGL texture for the 3D view.
#include <QImage>
#include <QOpenGLTexture>
#include <memory>

namespace toolkit {

// Uploads picture's premultiplied pixels unchanged, mipmapped, with linear
// magnification and trilinear minification. Keeps texture's storage when it
// has the picture's size and replaces the texture otherwise. Needs the
// texture's context to be current.
void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, QImage picture);

}
