#pragma once
// Interference from inside the viewer's long handlers (start-up, drops),
// which process pending events between the paths they take: an action runs
// from a zero-interval timer at the first of those moments when a condition
// holds, as a user's input or another program's change would.
#include "app/form1.h"
#include <QApplication>
#include <QTimer>
#include <functional>

namespace hostile {

class Midway {
public:
    Midway(std::function<bool()> when, std::function<void()> action)
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, when = std::move(when), action = std::move(action)] {
            if (!when())
                return;
            timer_.stop();
            fired_ = true;
            action();
        });
        timer_.start();
    }
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    bool fired_ = false;
};

// How many pictures the start-up or drop under way in form has found so
// far; 0 when none runs.
inline int collected(const TForm1& form)
{
    return form.collecting() ? form.collecting()->count() : 0;
}

}
