#pragma once
// The picture list's name order on Windows: the user locale's comparison
// with case ignored, as the desktop's own file lists order names. Plain
// Win32; elsewhere LocaleCompare reproduces it.
#include <string>
#include <string_view>

namespace order {

// Returns <0, 0, >0.
int compareNames(std::wstring_view a, std::wstring_view b);

// A byte string whose plain byte order is compareNames' order, for a name
// in UTF-8.
std::string nameSortKey(std::string_view name);

}
