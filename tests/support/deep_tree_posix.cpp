#include "support/deep_tree.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixtures {

bool writeDeepTree(const std::string& root, int depth, const std::map<int, QByteArray>& pictures)
{
    int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 1; level <= depth && folder >= 0; ++level) {
        const bool made = ::mkdirat(folder, "d", 0755) == 0;
        const int below = made ? ::openat(folder, "d", O_RDONLY | O_DIRECTORY) : -1;
        ::close(folder);
        folder = below;
        const auto picture = pictures.find(level);
        if (folder < 0 || picture == pictures.end())
            continue;
        const int file = ::openat(folder, "a.png", O_WRONLY | O_CREAT, 0644);
        const bool written = file >= 0 && ::write(file, picture->second.constData(), size_t(picture->second.size()))
            == picture->second.size();
        ::close(file);
        if (!written) {
            ::close(folder);
            return false;
        }
    }
    if (folder < 0)
        return false;
    ::close(folder);
    return true;
}

std::string deepFolder(const std::string& root, int levels)
{
    std::string path = root;
    for (int level = 0; level < levels; ++level)
        path += "/d";
    return path;
}

}
