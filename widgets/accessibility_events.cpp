#include "widgets/accessibility_events.h"
#include <QAccessible>

namespace widgets {

void announceValueChange(QObject* control, double value)
{
    QAccessibleValueChangeEvent event(control, value);
    QAccessible::updateAccessibility(&event);
}

void announceNameChange(QObject* control)
{
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}
