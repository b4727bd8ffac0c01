#include "view3d/shader_program.h"
#include <QOpenGLShaderProgram>

namespace view3d {

// The driver's log can run to many lines; its first one names the fault.
static QString firstLine(const QString& log)
{
    const QString trimmed = log.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("no reason given") : trimmed.section(u'\n', 0, 0).trimmed();
}

QString buildShaderProgram(QOpenGLShaderProgram& program, const char* vertex, const char* fragment)
{
    if (!program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertex))
        return "the OpenGL driver does not compile the 3D view's vertex shader: " + firstLine(program.log());
    if (!program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment))
        return "the OpenGL driver does not compile the 3D view's fragment shader: " + firstLine(program.log());
    program.bindAttributeLocation("corner", 0);
    if (!program.link())
        return "the OpenGL driver does not link the 3D view's shaders: " + firstLine(program.log());
    return {};
}

}
