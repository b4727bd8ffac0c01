#pragma once
// The program's modal boxes, shown for real: the system's own box, one side
// for Windows, one for everywhere else. Every box goes through
// Application::showBox, so that tests can answer a box without it ever
// blocking.
#include "platform/box_request.h"
#include <functional>

namespace platform {

// Answers a box in the user's place.
using BoxAnswerer = std::function<BoxAnswer(const BoxRequest&)>;

// Shows the box modally (no owner, no icon) and returns the user's answer.
BoxAnswer showModalBox(const BoxRequest& request);

}
