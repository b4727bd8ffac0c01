#pragma once

namespace platform {

// Dispatches every event waiting in the user-interface queue (paints, timer
// ticks, input) and returns when the queue is empty.
void processPendingEvents();

}
