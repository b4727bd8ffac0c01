#include "app/flick.h"

FlickDecision decideFlick(bool forMainWindow, unsigned message, std::uintptr_t wParam, bool stepsEnabled)
{
    if (!forMainWindow || message != tabletFlickMessage)
        return {false, 0};
    // A flick is answered as handled whatever its direction, so the system
    // performs no default action of its own.
    if (!stepsEnabled)
        return {true, 0};
    switch ((wParam & 0xE0) >> 5) {
    case flickLeft:
        return {true, +1};
    case flickRight:
        return {true, -1};
    default:
        return {true, 0};
    }
}
