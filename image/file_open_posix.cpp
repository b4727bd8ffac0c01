#include "image/file_open.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace image {

OpenedFile openForReading(const std::string& path)
{
    OpenedFile file;
    // A path whose attributes cannot be read counts as a folder: no picture.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return file;

    // Non-blocking so that a named pipe cannot hang us; files ignore the flag.
    file.descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.descriptor < 0) {
        file.outcome = OpenedFile::Refused;
        file.error = errno;
        return file;
    }
    file.outcome = OpenedFile::Opened;
    if (::fstat(file.descriptor, &info) == 0)
        file.identity = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), info.st_size,
            std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec, true};
    return file;
}

std::optional<std::int64_t> regularFileSize(int descriptor)
{
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return info.st_size;
}

void closeFile(int descriptor)
{
    ::close(descriptor);
}

}
