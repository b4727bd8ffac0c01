#include "platform/show_painted.h"
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#if defined(__unix__) && !defined(__APPLE__)
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

// Ends the loop once a paint of the window has been handled: the quit is
// queued, so it runs after the paint and the flush to the screen that follows.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget& window, QEventLoop& loop) : window_(window), loop_(loop) { window_.installEventFilter(this); }
    ~PaintWatch() override { window_.removeEventFilter(this); }
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Paint && window_.windowHandle()
            && window_.windowHandle()->isExposed())
            QMetaObject::invokeMethod(&loop_, &QEventLoop::quit, Qt::QueuedConnection);
        return false;
    }

private:
    QWidget& window_;
    QEventLoop& loop_;
};

// On X11 the painted pixels travel in requests that may still wait in the
// program's own buffer, or in the server's queue: a round trip sends them
// and waits until the server has carried them out.
void reachScreen()
{
#if defined(__unix__) && !defined(__APPLE__)
    // The offscreen platform answers to the X11 interface with no connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr)
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
}

}

void showPainted(QWidget& window, std::chrono::milliseconds bound)
{
    QEventLoop loop;
    const PaintWatch watch(window, loop);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(bound);
    window.show();
    loop.exec();
    reachScreen();
}

}
