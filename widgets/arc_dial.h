#pragma once
// A round dial whose value is an angle in degrees: 0 to the right,
// counter-clockwise positive, -180 to +180. Dragging with the left button
// turns it to the pointer. It takes no focus; the wheel and keys pass through
// to its parent.
#include "widgets/control_look.h"
#include <QWidget>

namespace widgets {

class ArcDial : public QWidget {
    Q_OBJECT
public:
    explicit ArcDial(const DialLook& look, QWidget* parent = nullptr);

    double value() const { return value_; }
    // Reports a change only when value differs from the current one.
    void setValue(double value);

    // The text shown in the centre: the value rounded to the nearest integer,
    // halves to the even neighbour, followed by a degree sign.
    static QString valueText(double value);

signals:
    void valueChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF face() const;

    DialLook look_;
    double value_ = 0;
    bool dragging_ = false;
};

}
