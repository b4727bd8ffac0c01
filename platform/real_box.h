#pragma once
// The system's own modal box, shown for real: one side for Windows, one for
// everywhere else.
#include "platform/box_request.h"

namespace platform {

// No owner window, so the box is centred on the screen; no icon.
BoxAnswer showRealBox(const BoxRequest& request);

}
