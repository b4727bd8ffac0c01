// The least any OpenGL program shows a window with: Qt started, a window
// of the main window's size and the 3D view's surface format mapped, one frame cleared and swapped.
// Writes a line to stdout when that frame is on the screen and ends, so that
// whoever started it times exec to the first frame (bench_race).
//   bench_empty_window
#include "resources/form_layout.h"
#include "view3d/view_surface.h"
#include <QGuiApplication>
#include <QOpenGLFunctions>
#include <QOpenGLWindow>
#include <cstdio>

namespace {

class EmptyWindow : public QOpenGLWindow {
protected:
    void paintGL() override
    {
        QOpenGLFunctions& gl = *context()->functions();
        gl.glClearColor(0, 0, 0, 1);
        gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    EmptyWindow window;
    window.setFormat(view3d::ViewSurface::format());
    window.resize(resources::form1::clientSize);
    QObject::connect(&window, &QOpenGLWindow::frameSwapped, &app, [] {
        std::puts("drawn");
        std::fflush(stdout);
        std::_Exit(0);
    });
    window.show();
    return app.exec();
}
