#pragma once
#include <chrono>

class QWidget;

namespace platform {

// Shows a top-level window and processes events until it is on the screen
// and has painted, so that it shows its contents while the caller then
// blocks. A window manager may take several turns of the event loop to map
// a new window; one that never does costs at most bound.
void showPainted(QWidget& window, std::chrono::milliseconds bound = std::chrono::milliseconds(2000));

}
