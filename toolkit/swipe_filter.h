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

namespace toolkit {

class SwipeFilter : public QObject {
    Q_OBJECT
public:
    static constexpr double minDistance = 60;    // logical pixels, press to release
    static constexpr quint64 maxDuration = 500;  // milliseconds, press to release

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
