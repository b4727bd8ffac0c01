#pragma once
// Recognises a quick one-finger touch swipe over a top-level window and
// reports its direction, numbered 0 to 7 counter-clockwise from "right":
// 0 right, 2 up, 4 left, 6 down. It watches the touch points where they
// reach the window, before any widget, and consumes nothing: taps and drags
// that Qt turns into mouse input for the widget under the finger work as
// without it. Mouse input is never a swipe.
#include <QObject>
#include <QPointF>

class QTouchEvent;
class QWidget;

namespace platform {

inline constexpr double swipeMinDistance = 60;   // logical pixels, press to release
inline constexpr quint64 swipeMaxDuration = 500; // milliseconds, press to release
inline constexpr int noSwipe = -1;

// The direction of one finger's travel (logical pixels, y down the screen)
// from press to release, taking milliseconds: the nearest of the eight, or
// noSwipe when it went too short a way or took too long.
int swipeDirection(QPointF travel, quint64 milliseconds);

class SwipeFilter : public QObject {
    Q_OBJECT
public:
    // Watches window, a top-level widget, for its life; owned by it.
    explicit SwipeFilter(QWidget& window);

signals:
    void swiped(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchNativeWindow();
    void track(const QTouchEvent& event);

    QWidget& window_;
    bool tracking_ = false; // one finger is down and has stayed alone
    QPointF start_;
    quint64 startTime_ = 0;
};

}
