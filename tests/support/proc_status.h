#pragma once
// A process's memory figures as the kernel reports them in
// /proc/PID/status; header-only, so benchmarks use it too.
#include <fstream>
#include <string>
#include <string_view>

namespace procstatus {

// The KiB of a field such as "VmRSS" (resident now) or "VmHWM" (resident at
// the peak) of this process, or of the process pid; -1 when the kernel does
// not report it.
inline long kib(std::string_view field, const std::string& pid = "self")
{
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.size() > field.size() && line.starts_with(field) && line[field.size()] == ':')
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// How far this process's resident set rose above where it stood while
// work ran, in KiB: the kernel's peak is reset to the present first, so
// earlier peaks cannot hide the growth.
template <class Work> long peakGrowthKib(Work&& work)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = kib("VmRSS");
    work();
    return kib("VmHWM") - before;
}

}
