#include "platform/shift_key.h"
#include <windows.h>

namespace platform {

bool shiftHeld(Qt::KeyboardModifiers)
{
    // The high bit: down when the message now handled was sent.
    return GetKeyState(VK_SHIFT) < 0;
}

}
