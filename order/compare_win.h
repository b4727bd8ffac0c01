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

// compareNames' order for the user's locale, given as LocaleCompare gives
// its own, so that the picture list sorts by either.
class WindowsNameOrder {
public:
    std::string sortKey(std::string_view name) const { return nameSortKey(name); }

    class KeyMaker {
    public:
        explicit KeyMaker(const WindowsNameOrder&) {}
        // Appends name's key to keys.
        void append(std::string_view name, std::string& keys) const { keys += nameSortKey(name); }
    };
};

}
