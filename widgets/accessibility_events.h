#pragma once
// What a control tells assistive technology of its own changes.
class QObject;

namespace widgets {

// Tell assistive technology that control's value or name has changed.
void announceValueChange(QObject* control, double value);
void announceNameChange(QObject* control);

}
