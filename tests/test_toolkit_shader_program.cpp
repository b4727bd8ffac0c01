// Shaders the driver rejects are reported in one line that says which step
// failed, instead of a view that silently draws nothing.
#include "view3d/shader_program.h"
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QtTest>

namespace {

const char* const goodVertex = "attribute vec2 corner; varying vec2 uv;"
                               "void main() { uv = corner; gl_Position = vec4(corner, 0.0, 1.0); }";
const char* const goodFragment = "varying vec2 uv; void main() { gl_FragColor = vec4(uv, 0.0, 1.0); }";
// Reads a varying that no vertex shader writes: each stage compiles alone.
const char* const unlinkableFragment = "varying vec2 elsewhere; void main() { gl_FragColor = vec4(elsewhere, 0.0, 1.0); }";
const char* const broken = "void main() { this is not GLSL }";

}

class ShaderProgramTest : public QObject {
    Q_OBJECT
    QOffscreenSurface surface;
    QOpenGLContext context;

private slots:
    void initTestCase()
    {
        surface.create();
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
    }

    void failuresNameTheirStep_data()
    {
        QTest::addColumn<QByteArray>("vertex");
        QTest::addColumn<QByteArray>("fragment");
        QTest::addColumn<QString>("start");
        QTest::newRow("good") << QByteArray(goodVertex) << QByteArray(goodFragment) << QString();
        QTest::newRow("vertex shader broken") << QByteArray(broken) << QByteArray(goodFragment)
                                              << "the OpenGL driver does not compile the 3D view's vertex shader: ";
        QTest::newRow("fragment shader broken") << QByteArray(goodVertex) << QByteArray(broken)
                                                << "the OpenGL driver does not compile the 3D view's fragment shader: ";
        QTest::newRow("shaders that do not link") << QByteArray(goodVertex) << QByteArray(unlinkableFragment)
                                                  << "the OpenGL driver does not link the 3D view's shaders: ";
    }
    void failuresNameTheirStep()
    {
        QFETCH(QByteArray, vertex);
        QFETCH(QByteArray, fragment);
        QFETCH(QString, start);
        QOpenGLShaderProgram program;
        const QString failure = view3d::buildShaderProgram(program, vertex.constData(), fragment.constData());
        if (start.isEmpty()) {
            QCOMPARE(failure, QString());
            QVERIFY(program.isLinked());
            return;
        }
        QVERIFY2(failure.startsWith(start), qPrintable(failure));
        QVERIFY(failure.size() > start.size()); // the driver's reason follows
        QVERIFY(!failure.contains(u'\n'));
    }
};

QTEST_MAIN(ShaderProgramTest)
#include "test_toolkit_shader_program.moc"
