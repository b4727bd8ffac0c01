#pragma once
// Windows names files in UTF-16; the program keeps paths as UTF-8 bytes.
// Both ways are exact for every name Windows can hold: a lone surrogate
// travels as the three bytes UTF-8 would give it (WTF-8).
#include <string>
#include <string_view>

namespace platform {

std::string nativeText(std::u16string_view wide);
std::u16string utf16Text(std::string_view native);

#ifdef _WIN32
inline std::string nativeText(std::wstring_view wide)
{
    return nativeText(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
inline std::wstring wideText(std::string_view native)
{
    const std::u16string text = utf16Text(native);
    return std::wstring(text.begin(), text.end());
}
#endif

}
