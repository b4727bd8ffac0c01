#include "image/file_open.h"
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace image {

// The path's UTF-16, as the file system names it.
static std::wstring widened(const std::string& path)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), size);
    return wide;
}

OpenedFile openForReading(const std::string& path)
{
    OpenedFile file;
    const std::wstring wide = widened(path);
    // A path whose attributes cannot be read counts as a folder: no picture.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return file;

    // Others may read, write and delete the file while we read it, as
    // Explorer lets them; not inherited by child processes.
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        file.outcome = OpenedFile::Refused;
        file.error = int(GetLastError());
        return file;
    }
    file.descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (file.descriptor < 0) {
        CloseHandle(handle);
        file.outcome = OpenedFile::Refused;
        file.error = ERROR_TOO_MANY_OPEN_FILES;
        return file;
    }
    file.outcome = OpenedFile::Opened;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(handle, &info))
        file.identity = {info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
            (std::int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            (std::int64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime, true};
    return file;
}

std::optional<std::int64_t> regularFileSize(int descriptor)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    LARGE_INTEGER size;
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size))
        return std::nullopt;
    return size.QuadPart;
}

void closeFile(int descriptor)
{
    _close(descriptor);
}

}
