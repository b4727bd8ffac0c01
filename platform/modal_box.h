#pragma once
// Every modal box of the program goes through here, so tests can answer a box
// without it ever blocking.
#include "platform/box_request.h"
#include <functional>

namespace platform {

// Shows the box modally (no owner, no icon) and returns the user's answer.
BoxAnswer showModalBox(const BoxRequest& request);

// Replaces the real boxes by answerer until reset with an empty function.
void setModalBoxAnswerer(std::function<BoxAnswer(const BoxRequest&)> answerer);

}
