#pragma once
// What a window does with a pen or touch flick: a flick to the left steps
// forward, a flick to the right steps back. Plain C++, shared by the Win32
// window-procedure hook and the touch-swipe path of other platforms.
#include <cstdint>

// WM_TABLET_FLICK; mingw's headers lack it.
inline constexpr unsigned tabletFlickMessage = 0x02CB;

// Flick directions, counter-clockwise from "right".
inline constexpr int flickRight = 0;
inline constexpr int flickLeft = 4;

// The flick data word (the message's wParam) for a direction: bits 5 to 7.
constexpr std::uintptr_t flickWParam(int direction)
{
    return static_cast<std::uintptr_t>(direction) << 5;
}

struct FlickDecision {
    bool handled; // the window answers 1 itself; otherwise pass the message on
    int step;     // +1 Next, -1 Previous, 0 none
};

// forMainWindow: the message is addressed to the window that steps.
// stepsEnabled: no step is running, so a new one may start.
FlickDecision decideFlick(bool forMainWindow, unsigned message, std::uintptr_t wParam, bool stepsEnabled);
