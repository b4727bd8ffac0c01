// The name order against the order recorded on Windows: the oracle file's
// first block ranks names under CompareStringW(LOCALE_USER_DEFAULT,
// NORM_IGNORECASE); every pair of them must compare as their ranks do.
#include "checks.h"
#include "toolkit/compare_win.h"
#include <windows.h>
#include <fstream>
#include <sstream>
#include <vector>

using checks::expect;

namespace {

struct Oracle {
    std::string locale; // "en-US"
    std::vector<std::pair<int, std::string>> ranked;
};

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

Oracle readOracle(const std::string& fileName)
{
    Oracle oracle;
    std::ifstream in(fileName);
    int modes = 0;
    for (std::string line; std::getline(in, line);) {
        const auto f = splitTabs(line);
        if (f.size() < 2)
            continue;
        if (f[0] == "locale")
            oracle.locale = f[1];
        else if (f[0] == "mode")
            ++modes;
        else if (modes == 1 && std::isdigit(static_cast<unsigned char>(f[0][0])))
            oracle.ranked.emplace_back(std::stoi(f[0]), f[1]);
    }
    return oracle;
}

std::wstring utf16(const std::string& utf8)
{
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()));
    return wide;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

const char* const relation[] = {"<", "=", ">"};

}

void checks::nameOrder(const std::string& oracleFile)
{
    const Oracle oracle = readOracle(oracleFile);
    expect(oracle.ranked.size() > 1, oracleFile + ": names read");

    // Without the oracle's locale as the user's the comparison proves nothing.
    wchar_t userLocale[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(userLocale, LOCALE_NAME_MAX_LENGTH);
    expect(userLocale == utf16(oracle.locale), "the user locale is " + oracle.locale);

    for (size_t i = 0; i < oracle.ranked.size(); ++i) {
        for (size_t j = i + 1; j < oracle.ranked.size(); ++j) {
            const auto& [rankA, a] = oracle.ranked[i];
            const auto& [rankB, b] = oracle.ranked[j];
            const int expected = sign(rankA - rankB);
            const int got = sign(toolkit::compareNames(utf16(a), utf16(b)));
            expect(got == expected,
                oracle.locale + ": \"" + a + "\" " + relation[got + 1] + " \"" + b + "\", recorded " + relation[expected + 1]);
        }
    }
}
