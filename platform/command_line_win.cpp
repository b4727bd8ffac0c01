#include "platform/command_line.h"
#include "platform/native_text.h"
#include <windows.h>

namespace platform {

// argv is what the C runtime made of the command line by other rules.
std::vector<std::string> programArguments(int, char**)
{
    const auto* line = reinterpret_cast<const char16_t*>(GetCommandLineW());
    const std::vector<std::u16string> split = splitCommandLine(line);
    std::vector<std::string> arguments;
    for (size_t i = 1; i < split.size(); ++i)
        arguments.push_back(nativeText(split[i]));
    return arguments;
}

}
