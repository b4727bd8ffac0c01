#include "collection/full_path.h"
#include "platform/native_text.h"
#include <windows.h>

std::string fullPath(const std::string& path)
{
    const std::wstring wide = platform::wideText(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size)
        return path;
    full.resize(written);
    return platform::nativeText(full);
}
