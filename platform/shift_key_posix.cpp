#include "platform/shift_key.h"

namespace platform {

bool shiftHeld(Qt::KeyboardModifiers modifiers)
{
    return modifiers & Qt::ShiftModifier;
}

}
