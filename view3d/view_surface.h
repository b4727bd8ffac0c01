#pragma once
// Where the 3D view's frames go. On X11 and Wayland a native OpenGL window
// of the view's own, in a window container, puts each frame straight on the
// screen; elsewhere the frames go through an OpenGL widget, composed with
// the window.
// Either surface takes no input: pointer, touch and drops reach the view
// and the widgets around it as over any other widget.
#include <QSize>
#include <QSurfaceFormat>

class QWidget;

namespace view3d {

// What a surface asks of the one who draws on it.
class SurfacePainter {
public:
    // The surface's context is current for the first time.
    virtual void initializeGL() = 0;
    // Draw a frame of this many device pixels into the bound framebuffer.
    virtual void paintGL(QSize pixels) = 0;
    // A frame has reached the screen.
    virtual void frameShown() = 0;
    // Draw what a frame draws, into the bound framebuffer of this many
    // device pixels, for the driver to build its pipeline; not shown.
    virtual void warmUp(QSize pixels) = 0;

protected:
    ~SurfacePainter() = default;
};

class ViewSurface {
public:
    // The surface that the running platform shows, as a child of view
    // filling it (and owned by it).
    static ViewSurface& create(QWidget& view, SurfacePainter& painter);
    // Depth buffer and 4x multisampling, on any OpenGL from 2.0.
    static QSurfaceFormat format();

    virtual ~ViewSurface() = default;
    // The child widget that holds the surface, to be laid over the view.
    virtual QWidget& widget() = 0;
    // A frame at the next turn of the event loop.
    virtual void update() = 0;
    // A frame drawn and on the screen before returning; nothing while the
    // surface is not shown.
    virtual void drawNow() = 0;
    // The frame an update asked for drawn and on the screen before
    // returning, unless it is drawn already.
    virtual void drawPending() = 0;
    virtual void makeCurrent() = 0;
    virtual void doneCurrent() = 0;
    // While the window is still hidden: makes the surface and its OpenGL
    // context and has the painter initialise and warm up in it, so that the
    // first frame shown needs only its uploads and one draw. Nothing once
    // the context exists, nor where the platform makes it only when shown.
    virtual void prepare() = 0;
};

}
