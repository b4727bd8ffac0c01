#pragma once
// Texts the system gives, as the user reads them.
#include <QString>
#include <string>

namespace platform {

// A path's native bytes for display.
QString pathText(const std::string& path);

// The system's description of an error code (errno, or on Windows the
// last-error code), on one line.
QString errorText(int code);

}
