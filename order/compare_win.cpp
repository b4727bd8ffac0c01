#include "order/compare_win.h"
#include <windows.h>

namespace order {

int compareNames(std::wstring_view a, std::wstring_view b)
{
    // No string-sort flag: hyphens and apostrophes only break ties.
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
               static_cast<int>(b.size()))
        - CSTR_EQUAL;
}

std::string nameSortKey(std::string_view name)
{
    const int utf8Size = static_cast<int>(name.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, name.data(), utf8Size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), utf8Size, wide.data(), static_cast<int>(wide.size()));
    // The same flags as compareNames: its keys order as it compares.
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int wideSize = static_cast<int>(wide.size());
    std::string key(static_cast<size_t>(LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), wideSize, nullptr, 0)), '\0');
    LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), wideSize, reinterpret_cast<LPWSTR>(key.data()),
        static_cast<int>(key.size()));
    return key;
}

}
