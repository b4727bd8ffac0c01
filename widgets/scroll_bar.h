#pragma once
// A painted scroll bar over a real-valued range: min at the top (vertical) or
// the left (horizontal). The arrow buttons step by the small change, a press
// on the track jumps the thumb under the pointer, and dragging the thumb sets
// the value continuously, without rounding. It takes no focus; the wheel and
// keys pass through to its parent.
#include "widgets/control_look.h"
#include <QVariantAnimation>
#include <QWidget>

namespace widgets {

class ScrollBar : public QWidget {
    Q_OBJECT
public:
    ScrollBar(Qt::Orientation orientation, const ScrollBarLook& look, QWidget* parent = nullptr);

    void setRange(double min, double max);
    double minimum() const { return min_; }
    double maximum() const { return max_; }
    void setSmallChange(double step) { smallChange_ = step; }
    double smallChange() const { return smallChange_; }
    double value() const { return value_; }
    // Clamped to the range; reports every change.
    void setValue(double value);

signals:
    void valueChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Positions along the bar and across it, whatever the orientation.
    double length() const;
    double thickness() const;
    double along(QPointF point) const;
    QRectF span(double start, double extent, double acrossInset) const;

    double travel() const;
    double thumbStart() const;
    double valueAt(double thumbCentre) const;
    void setThumbHovered(bool hovered);

    Qt::Orientation orientation_;
    ScrollBarLook look_;
    double min_ = 0;
    double max_ = 100;
    double smallChange_ = 1;
    double value_ = 0;
    bool dragging_ = false;
    double grabOffset_ = 0; // pointer minus thumb centre when the drag began
    bool thumbHovered_ = false;
    double thumbOpacity_ = 1;
    QVariantAnimation fade_;
};

}
