#include "toolkit/panel.h"
#include "toolkit/accessible_controls.h"
#include <QPainter>
#include <QPainterPath>

namespace toolkit {

Panel::Panel(const PanelLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
    installAccessibleControls();
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
