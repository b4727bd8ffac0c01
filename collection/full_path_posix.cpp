#include "collection/full_path.h"
#include <cstdlib>
#include <memory>
#include <vector>
#include <unistd.h>

static std::string currentDirectory()
{
    const std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), &::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

std::string fullPath(const std::string& path)
{
    const std::string absolute = path.starts_with('/') ? path : currentDirectory() + '/' + path;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= absolute.size()) {
        size_t end = absolute.find('/', start);
        if (end == std::string::npos)
            end = absolute.size();
        const std::string part = absolute.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += '/' + part;
    return result.empty() ? "/" : result;
}
