#pragma once
// The program's modal boxes, shown for real. Every box goes through
// Application::showBox, so that tests can answer a box without it ever
// blocking.
#include <QString>
#include <functional>

namespace platform {

struct BoxRequest {
    enum Kind { Ok, YesNo };
    Kind kind = Ok;
    QString title;
    QString text;
};

enum class BoxAnswer { Ok, Yes, No };

// Answers a box in the user's place.
using BoxAnswerer = std::function<BoxAnswer(const BoxRequest&)>;

// Shows the box modally (no owner, no icon) and returns the user's answer.
BoxAnswer showModalBox(const BoxRequest& request);

}
