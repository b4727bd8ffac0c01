#pragma once
// A plain surface: a vertical gradient with a 1-pixel outline, square corners.
#include "widgets/control_look.h"
#include <QWidget>

namespace widgets {

class Panel : public QWidget {
    Q_OBJECT
public:
    explicit Panel(const PanelLook& look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelLook look_;
};

}
