#pragma once
// Work done for later gives way to the work a user waits on.

namespace platform {

// Lowers the calling thread's priority below that of the user-interface
// thread and the renderer's threads, so that decodes made ahead of need
// never slow an animation tick. Threads it starts inherit the priority.
void giveWayToInteraction();

}
