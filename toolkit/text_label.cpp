#include "toolkit/text_label.h"
#include <QPainter>
#include <QTextOption>

namespace toolkit {

TextLabel::TextLabel(const LabelLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
}

void TextLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

void TextLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(look_.font);
    painter.setPen(look_.text);
    // Line-break rules first (between words, and between CJK characters),
    // anywhere only when a run doesn't fit.
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect()), text_, option);
}

}
