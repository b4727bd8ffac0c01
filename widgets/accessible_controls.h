#pragma once
// How the painted controls and our windows present themselves to assistive
// technology such as screen readers: what each is (push button, label,
// dial, scroll bar, panel, frame), its name, its value and range, and its
// press action.

namespace widgets {

// Installed once, by the program, before its first window is shown.
void installAccessibleControls();

}
