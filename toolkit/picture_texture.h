#pragma once
// Puts a picture into an OpenGL texture for the 3D view.
#include "toolkit/mip_picture.h"
#include <QOpenGLTexture>
#include <memory>

namespace toolkit {

// Uploads picture's premultiplied pixels unchanged from mipmap level
// firstLevel down to 1 x 1, with linear magnification and trilinear
// minification: the texture's own level 0 is the picture's level
// firstLevel. Keeps texture's storage when it has that level's size and
// replaces the texture otherwise. Needs the texture's context to be current.
void uploadPicture(std::unique_ptr<QOpenGLTexture>& texture, const MipPicture& picture, int firstLevel = 0);

}
