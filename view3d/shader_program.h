#pragma once
#include <QString>

class QOpenGLShaderProgram;

namespace view3d {

// Compiles the vertex and fragment shaders into program and links it, with
// the vertex attribute corner at location 0. Returns an empty string on
// success, otherwise one line saying which step failed and the driver's
// first line about it. Needs a current OpenGL context.
QString buildShaderProgram(QOpenGLShaderProgram& program, const char* vertex, const char* fragment);

}
