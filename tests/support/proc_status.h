#pragma once
// This process's memory figures as the kernel reports them in
// /proc/self/status; header-only, so benchmarks use it too.
#include <fstream>
#include <string>
#include <string_view>

namespace procstatus {

// The KiB of a field such as "VmRSS" (resident now) or "VmHWM" (resident at
// the peak); -1 when the kernel does not report it.
inline long kib(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.size() > field.size() && line.starts_with(field) && line[field.size()] == ':')
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

}
