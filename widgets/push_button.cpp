#include "widgets/push_button.h"
#include "widgets/accessibility_events.h"
#include <QGraphicsEffect>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace widgets {

// The focus glow lies outside the button, where its own painting can't
// reach; a graphics effect may draw beyond the widget's rectangle.
namespace {
class FocusGlow : public QGraphicsEffect {
public:
    FocusGlow(const Glow& glow, double radius, QWidget* button)
        : QGraphicsEffect(button)
        , glow_(glow)
        , radius_(radius)
        , button_(button)
    {
    }

    QRectF boundingRectFor(const QRectF& rect) const override
    {
        const int reach = glowWidth(glow_);
        return rect.adjusted(-reach, -reach, reach, reach);
    }

protected:
    void draw(QPainter* painter) override
    {
        if (button_->hasFocus()) {
            painter->setRenderHint(QPainter::Antialiasing);
            paintOuterGlow(*painter, strokeRect(sourceBoundingRect()), radius_, glow_);
        }
        drawSource(painter);
    }

private:
    Glow glow_;
    double radius_;
    QWidget* button_;
};
}

PushButton::PushButton(const ButtonLook& look, QWidget* parent)
    : QWidget(parent)
    , look_(look)
{
    setFocusPolicy(Qt::StrongFocus);
    setGraphicsEffect(new FocusGlow(look_.focusGlow, look_.radius, this));
}

void PushButton::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
    announceNameChange(this);
}

void PushButton::click()
{
    if (isEnabled())
        emit clicked(Qt::NoModifier);
}

void PushButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.8);

    const QRectF body = strokeRect(rect());
    QPainterPath shape;
    shape.addRoundedRect(body, look_.radius, look_.radius);
    paintShape(painter, shape, look_.fill, look_.outline);
    if (down_)
        paintInnerGlow(painter, body, look_.radius, look_.pressedGlow);

    painter.setFont(look_.font);
    painter.setPen(look_.text);
    painter.drawText(QRectF(rect()).adjusted(5, 2, -5, -2), Qt::AlignCenter | Qt::TextSingleLine, text_);
}

void PushButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressed_ = true;
    setDown(true);
}

void PushButton::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_)
        setDown(rect().contains(event->position().toPoint()));
}

void PushButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return QWidget::mouseReleaseEvent(event);
    pressed_ = false;
    setDown(false);
    if (rect().contains(event->position().toPoint()))
        emit clicked(event->modifiers());
}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Space:
        emit clicked(event->modifiers());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// Disabled in the middle of a press, the button never sees the release: the
// press is over, so it must not stay drawn pressed nor click later.
void PushButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        pressed_ = false;
        setDown(false);
    }
    QWidget::changeEvent(event);
}

void PushButton::setDown(bool down)
{
    if (down_ == down)
        return;
    down_ = down;
    update();
}

}
