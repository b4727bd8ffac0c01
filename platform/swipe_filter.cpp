#include "platform/swipe_filter.h"
#include <QTouchEvent>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <numbers>

namespace platform {

int swipeDirection(QPointF travel, quint64 milliseconds)
{
    if (milliseconds > swipeMaxDuration || std::hypot(travel.x(), travel.y()) < swipeMinDistance)
        return noSwipe;
    const double turns = std::atan2(-travel.y(), travel.x()) / (2 * std::numbers::pi);
    return static_cast<int>((std::lround(turns * 8) + 8) % 8);
}

SwipeFilter::SwipeFilter(QWidget& window)
    : QObject(&window)
    , window_(window)
{
    // The native window comes and goes with the widget's; its creation is
    // announced as a change of window id.
    window.installEventFilter(this);
    watchNativeWindow();
}

void SwipeFilter::watchNativeWindow()
{
    if (QWindow* native = window_.windowHandle())
        native->installEventFilter(this);
}

bool SwipeFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        if (event->type() == QEvent::WinIdChange)
            watchNativeWindow();
        return false;
    }
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        track(static_cast<const QTouchEvent&>(*event));
        break;
    default:
        break;
    }
    return false;
}

void SwipeFilter::track(const QTouchEvent& event)
{
    if (event.device()->type() != QInputDevice::DeviceType::TouchScreen)
        return;
    if (event.type() == QEvent::TouchBegin) {
        tracking_ = event.pointCount() == 1;
        start_ = event.points().front().globalPosition();
        startTime_ = event.timestamp();
        return;
    }
    if (event.type() == QEvent::TouchCancel || event.pointCount() != 1)
        tracking_ = false;
    if (event.type() != QEvent::TouchEnd || !tracking_)
        return;
    tracking_ = false;
    const int direction = swipeDirection(event.points().front().globalPosition() - start_, event.timestamp() - startTime_);
    if (direction != noSwipe)
        emit swiped(direction);
}

}
