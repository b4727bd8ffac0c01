#pragma once
// Text on no background: left-aligned, vertically centred, wrapped to the
// width. Text without spaces, such as Japanese, wraps between characters.
#include "widgets/control_look.h"
#include <QWidget>

namespace widgets {

class TextLabel : public QWidget {
    Q_OBJECT
public:
    explicit TextLabel(const LabelLook& look, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LabelLook look_;
    QString text_;
};

}
