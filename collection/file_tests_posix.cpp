#include "collection/file_tests.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool isFile(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return true;
    // Only opening tells (permissions, ACLs, security modules); without
    // blocking, so that a FIFO does not wait for a writer.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0)
        return false;
    close(file);
    return true;
}

bool isFolder(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    return errno != ENOENT && errno != ENOTDIR;
}
