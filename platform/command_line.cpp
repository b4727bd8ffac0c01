#include "platform/command_line.h"

namespace platform {

std::vector<std::u16string> splitCommandLine(std::u16string_view line)
{
    const auto separates = [](char16_t c) { return c <= u' '; };
    std::vector<std::u16string> arguments;
    size_t i = 0;
    while (i < line.size()) {
        if (separates(line[i])) {
            ++i;
            continue;
        }
        std::u16string argument;
        bool quoted = false;
        for (; i < line.size() && (quoted || !separates(line[i])); ++i) {
            if (line[i] == u'"')
                quoted = !quoted;
            else
                argument += line[i];
        }
        if (!argument.empty())
            arguments.push_back(std::move(argument));
    }
    return arguments;
}

}
