#pragma once
// The program's look: every colour, gradient, radius, glow and font size of
// its controls, filled into the controls' look values.
#include "widgets/control_look.h"
#include <QFont>

namespace resources {

// DejaVu Sans with Noto Sans CJK JP for Japanese (on Windows Segoe UI or
// Tahoma, with Windows' Japanese UI fonts), 11 device-independent pixels,
// regular.
QFont uiFont();

widgets::PanelLook panelLook();
widgets::ButtonLook buttonLook();
widgets::LabelLook labelLook();
widgets::DialLook dialLook();
widgets::ScrollBarLook scrollBarLook();
widgets::BusyIndicatorLook busyIndicatorLook();

}
