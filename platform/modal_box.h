#pragma once
// Every modal box of the program goes through here, so tests can answer a box
// without it ever blocking.
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

// Shows the box modally (no owner, no icon) and returns the user's answer.
BoxAnswer showModalBox(const BoxRequest& request);

// Replaces the real boxes by answerer until reset with an empty function.
void setModalBoxAnswerer(std::function<BoxAnswer(const BoxRequest&)> answerer);

}
