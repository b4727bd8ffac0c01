// The name order of the generated repertoire under Windows' own comparison,
// written out (sorted names with each one's relation to the name above it,
// then sampled pairs with their relation) for the Linux order's test to
// compare against. The recorded copy in tests/data must be what Windows
// says today: any change to the generator or to Windows shows up here as a
// difference, and the fresh file replaces the recorded one.
#include "checks.h"
#include "name_repertoire.h"
#include "order/compare_win.h"
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

using checks::expect;

namespace {

std::wstring utf16(const std::u32string& text)
{
    std::wstring wide;
    for (char32_t c : text) {
        if (c < 0x10000) {
            wide += wchar_t(c);
        } else {
            wide += wchar_t(0xD800 + ((c - 0x10000) >> 10));
            wide += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return wide;
}

std::string utf8(const std::wstring& wide)
{
    std::string bytes(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), bytes.data(), int(bytes.size()), nullptr, nullptr);
    return bytes;
}

char relation(const std::wstring& a, const std::wstring& b)
{
    const int order = order::compareNames(a, b);
    return order < 0 ? '<' : order == 0 ? '=' : '>';
}

std::string localeName()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return utf8(name);
}

std::string record()
{
    std::vector<std::wstring> names;
    for (const std::u32string& name : repertoire::names())
        names.push_back(utf16(name));
    std::stable_sort(names.begin(), names.end(),
        [](const std::wstring& a, const std::wstring& b) { return order::compareNames(a, b) < 0; });

    std::ostringstream out;
    out << "locale\t" << localeName() << "\nmode\tCompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE)\n";
    out << "names\t" << names.size() << '\n';
    for (size_t i = 0; i < names.size(); ++i)
        out << (i == 0 ? '.' : relation(names[i - 1], names[i])) << '\t' << utf8(names[i]) << '\n';

    // Half the pairs anywhere, half close together in the order, where
    // spellings of the same name meet.
    constexpr size_t pairs = 20000, nearby = 40;
    std::mt19937 random(18);
    out << "pairs\t" << pairs << '\n';
    for (size_t k = 0; k < pairs; ++k) {
        const size_t i = random() % names.size();
        size_t j = random() % names.size();
        if (k % 2)
            j = std::min(names.size() - 1, i + 2 + random() % nearby);
        out << i << '\t' << j << '\t' << relation(names[i], names[j]) << '\n';
    }
    return out.str();
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}

void checks::windowsOrder(const std::string& recordedFile, const std::string& freshFile)
{
    const std::string fresh = record();
    std::ofstream(freshFile, std::ios::binary) << fresh;
    const std::string recorded = readAll(recordedFile);
    std::istringstream a(recorded), b(fresh);
    std::string lineA, lineB;
    size_t line = 0;
    do {
        lineA.clear();
        lineB.clear();
        std::getline(a, lineA);
        std::getline(b, lineB);
        ++line;
    } while (lineA == lineB && (a || b));
    expect(recorded == fresh,
        recordedFile + " differs from Windows' order at line " + std::to_string(line) + ": recorded \"" + lineA
            + "\", now \"" + lineB + "\"; if the names were meant to change, replace it by " + freshFile);
}
