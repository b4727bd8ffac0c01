#pragma once
// Whether Shift is held for the input being handled.
#include <Qt>

namespace platform {

// modifiers are those the input event carried; Windows asks the keyboard
// state of the message being handled instead (GetKeyState).
bool shiftHeld(Qt::KeyboardModifiers modifiers);

}
