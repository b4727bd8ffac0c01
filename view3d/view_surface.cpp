#include "view3d/view_surface.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QOpenGLWindow>
#include <QWidget>
#include <QWindow>

namespace view3d {

namespace {

// Carries out the update requested of target now, instead of at the next
// turn of the event loop.
void updateAtOnce(QObject& target)
{
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&target, &request);
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The native window: each frame is swapped to the screen on its own, with
// no composition of the top-level window (with llvmpipe that composition
// cost about as much as drawing the ring under X11, three times as much
// under Wayland).
class WindowSurface : public QOpenGLWindow, public ViewSurface {
public:
    WindowSurface(QWidget& view, SurfacePainter& painter)
        : painter_(painter)
    {
        setFlag(Qt::WindowTransparentForInput);
        QSurfaceFormat format = ViewSurface::format();
        if (onWayland()) {
            // Qt on Wayland gives the pointer to a window whatever its
            // flags: an input region outside the window leaves pointer,
            // touch and drops to the widgets below.
            setMask(QRegion(-1, -1, 1, 1));
            // A compositor never shows a torn frame, and waiting for its
            // next refresh at each swap would hold every animation tick
            // up to a refresh's length.
            format.setSwapInterval(0);
        }
        setFormat(format);
        container_ = QWidget::createWindowContainer(this, &view);
        container_->setAttribute(Qt::WA_TransparentForMouseEvents);
        container_->installEventFilter(this);
        connect(this, &QOpenGLWindow::frameSwapped, this, [this] {
            if (!warming_)
                painter_.frameShown();
        });
    }

    QWidget& widget() override { return *container_; }
    void update() override
    {
        dirty_ = true;
        QOpenGLWindow::update();
    }
    void drawNow() override
    {
        if (!isExposed())
            return;
        update(); // the whole window, for the request below to draw
        updateAtOnce(*this);
    }
    void drawPending() override
    {
        if (isExposed())
            updateAtOnce(*this);
    }
    void makeCurrent() override { QOpenGLWindow::makeCurrent(); }
    void doneCurrent() override { QOpenGLWindow::doneCurrent(); }
    // An unmapped native window takes a context and frames like a shown
    // one; the warm-up's frame goes to no screen and is no frame shown.
    void prepare() override
    {
        if (context())
            return;
        // The container hears of its size only when shown: a frame of
        // another size would have the driver make its buffers again.
        resize(container_->size());
        QOpenGLWindow::create();
        warming_ = true;
        update();
        updateAtOnce(*this);
        warming_ = false;
        dirty_ = true;
    }

protected:
    void initializeGL() override { painter_.initializeGL(); }
    void paintGL() override
    {
        const QSize pixels = size() * devicePixelRatio();
        if (warming_)
            painter_.warmUp(pixels);
        else
            painter_.paintGL(pixels);
    }
    // The platform's own update request still arrives after drawNow has
    // drawn the frame it was made for: drawing that frame again would cost
    // an animation tick twice its time. Qt on Wayland may still report the
    // window exposed after a close has taken its platform window: there is
    // nothing to draw on then.
    bool event(QEvent* event) override
    {
        if ((event->type() == QEvent::Expose || event->type() == QEvent::Paint) && !handle())
            return true;
        if (event->type() == QEvent::UpdateRequest) {
            if (!dirty_)
                return true;
            dirty_ = false;
        }
        return QOpenGLWindow::event(event);
    }
    void exposeEvent(QExposeEvent* event) override
    {
        dirty_ = true;
        QOpenGLWindow::exposeEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        dirty_ = true;
        QOpenGLWindow::resizeEvent(event);
    }
    // Qt on Wayland makes the view's surface before the window's own has a
    // place on the screen, and then never shows it in the window: shown
    // again once the window is on the screen, it becomes part of it.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == container_ && event->type() == QEvent::Show && onWayland())
            container_->window()->windowHandle()->installEventFilter(this);
        if (watched != container_ && event->type() == QEvent::Expose) {
            auto& shown = *static_cast<QWindow*>(watched);
            if (shown.isExposed()) {
                shown.removeEventFilter(this);
                if (!isExposed()) {
                    QOpenGLWindow::hide();
                    QOpenGLWindow::show();
                }
            }
        }
        return QOpenGLWindow::eventFilter(watched, event);
    }

private:
    SurfacePainter& painter_;
    QWidget* container_ = nullptr;
    bool dirty_ = true; // something changed since the last frame was drawn
    bool warming_ = false; // the frame being drawn is prepare's, never shown
};

// The widget: draws into a framebuffer that Qt composes with the rest of
// the window, which any platform shows.
class WidgetSurface : public QOpenGLWidget, public ViewSurface {
public:
    WidgetSurface(QWidget& view, SurfacePainter& painter)
        : QOpenGLWidget(&view)
        , painter_(painter)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFormat(ViewSurface::format());
        connect(this, &QOpenGLWidget::frameSwapped, this, [this] { painter_.frameShown(); });
    }

    QWidget& widget() override { return *this; }
    void update() override { QOpenGLWidget::update(); }
    // repaint() draws the widget once and then no more: request the update
    // and have the window carry it out at once, composed and flushed.
    void drawNow() override
    {
        if (!isVisible())
            return;
        QOpenGLWidget::update();
        updateAtOnce(*window());
    }
    // The window paints only what is still marked for painting.
    void drawPending() override
    {
        if (isVisible())
            updateAtOnce(*window());
    }
    void makeCurrent() override { QOpenGLWidget::makeCurrent(); }
    void doneCurrent() override { QOpenGLWidget::doneCurrent(); }
    // Qt makes an OpenGL widget's context only when the widget is shown.
    void prepare() override {}

protected:
    void initializeGL() override { painter_.initializeGL(); }
    void paintGL() override { painter_.paintGL((QSizeF(size()) * devicePixelRatioF()).toSize()); }

private:
    SurfacePainter& painter_;
};

}

ViewSurface& ViewSurface::create(QWidget& view, SurfacePainter& painter)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb") || onWayland())
        return *new WindowSurface(view, painter);
    return *new WidgetSurface(view, painter);
}

QSurfaceFormat ViewSurface::format()
{
    QSurfaceFormat format; // any OpenGL from 2.0, whatever the program's default
    format.setDepthBufferSize(24);
    format.setSamples(4);
    return format;
}

}
