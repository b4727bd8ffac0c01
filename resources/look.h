#pragma once
// The program's look: every colour, gradient, radius, glow and font size of
// its controls, filled into the toolkit's look values.
#include "toolkit/control_look.h"
#include <QFont>

namespace resources {

// DejaVu Sans with Noto Sans CJK JP for Japanese, 11 device-independent
// pixels, regular.
QFont uiFont();

toolkit::PanelLook panelLook();
toolkit::ButtonLook buttonLook();
toolkit::LabelLook labelLook();
toolkit::DialLook dialLook();
toolkit::ScrollBarLook scrollBarLook();
toolkit::BusyIndicatorLook busyIndicatorLook();

}
