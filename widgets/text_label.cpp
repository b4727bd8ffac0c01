#include "widgets/text_label.h"
#include "widgets/accessibility_events.h"
#include <QPainter>
#include <QTextOption>

namespace widgets {

TextLabel::TextLabel(const LabelLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
}

void TextLabel::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
    announceNameChange(this);
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
