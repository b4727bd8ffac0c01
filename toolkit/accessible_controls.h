#pragma once
// How the painted controls, the 3D view and our windows present themselves
// to assistive technology such as screen readers: what each is (push button,
// label, dial, scroll bar, panel, graphic, frame), its name, its value and
// range, and its press action. Each control installs this when it is made and reports its own
// changes through the announce functions.
class QObject;

namespace toolkit {

// Idempotent; needed before the first query for one of our controls.
void installAccessibleControls();

// Tell assistive technology that control's value or name has changed.
void announceValueChange(QObject* control, double value);
void announceNameChange(QObject* control);

}
