#include "toolkit/show_painted.h"
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace toolkit {

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
}

}
