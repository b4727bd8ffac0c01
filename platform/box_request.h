#pragma once
// What a modal box asks and how the user answered.
#include <QString>

namespace platform {

struct BoxRequest {
    enum Kind { Ok, YesNo };
    Kind kind = Ok;
    QString title;
    QString text;
};

enum class BoxAnswer { Ok, Yes, No };

}
