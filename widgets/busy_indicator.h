#pragma once
// A spinning busy sign: twelve grey spokes, a black leading spoke turning
// clockwise and a fading black trail behind it. It moves only while events
// are processed, so it stands still while the program is blocked.
#include "widgets/control_look.h"
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace widgets {

// The spoke (0 at twelve o'clock, counting clockwise, of twelve) that leads
// elapsedMs after the indicator started, turning once every turnMs.
int busyLeadingSpoke(qint64 elapsedMs, qint64 turnMs);

class BusyIndicator : public QWidget {
public:
    explicit BusyIndicator(const BusyIndicatorLook& look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    BusyIndicatorLook look_;
    QElapsedTimer clock_;
    QTimer ticker_;
};

}
