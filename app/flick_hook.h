#pragma once
// Lets pen and touch flicks over the main window step the ring: a flick to
// the left acts as Next, to the right as Previous. Installed once, as the
// last step of the window's creation, and kept for the window's life.
#include <functional>

class QWidget;

// What a flick may do to the window it is over.
struct FlickSteps {
    std::function<bool()> enabled; // whether the ring may step now
    std::function<void(int)> step; // +1 steps as Next does, -1 as Previous
};

void installFlickHook(QWidget& window, FlickSteps steps);
