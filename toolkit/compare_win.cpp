#include "toolkit/compare_win.h"
#include <windows.h>

namespace toolkit {

int compareNames(std::wstring_view a, std::wstring_view b)
{
    // No string-sort flag: hyphens and apostrophes only break ties.
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
               static_cast<int>(b.size()))
        - CSTR_EQUAL;
}

}
