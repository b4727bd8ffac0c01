#pragma once
// A painted push button. A left click (press and release inside) or Enter,
// Return or Space while focused activates it; clicked() carries the keyboard
// modifiers of the input that did, so a handler can tell a Shift-click.
#include "widgets/control_look.h"
#include <QWidget>

namespace widgets {

class PushButton : public QWidget {
    Q_OBJECT
public:
    explicit PushButton(const ButtonLook& look, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    // Activates the button as a plain click does; nothing while disabled.
    Q_INVOKABLE void click();

signals:
    void clicked(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setDown(bool down);

    ButtonLook look_;
    QString text_;
    bool pressed_ = false; // the left button went down on us and is still held
    bool down_ = false;    // drawn pressed: pressed_ and the pointer is inside
};

}
