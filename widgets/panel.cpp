#include "widgets/panel.h"
#include <QPainter>
#include <QPainterPath>

namespace widgets {

Panel::Panel(const PanelLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRect(strokeRect(rect()));
    paintShape(painter, shape, look_.fill, look_.outline);
}

}
