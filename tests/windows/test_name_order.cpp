// The name order against the order recorded on Windows: the oracle file's
// first block ranks names under CompareStringW(LOCALE_USER_DEFAULT,
// NORM_IGNORECASE); every pair of them must compare as their ranks do, and
// the picture list must hold them in rank order, one of each rank.
#include "checks.h"
#include "collection/picture_list.h"
#include "order/compare_win.h"
#include "tests/support/oracle_file.h"
#include <windows.h>
#include <map>
#include <set>
#include <vector>

using checks::expect;

namespace {

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
    const oracle::Orders oracle = oracle::read(oracleFile);
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
            const int got = sign(order::compareNames(utf16(a), utf16(b)));
            expect(got == expected,
                oracle.locale + ": \"" + a + "\" " + relation[got + 1] + " \"" + b + "\", recorded " + relation[expected + 1]);
        }
    }

    // Given last rank first, the list sorts them by its own keys.
    std::map<std::string, int> rankOf;
    std::vector<std::string> names;
    for (auto it = oracle.ranked.rbegin(); it != oracle.ranked.rend(); ++it) {
        rankOf[it->second] = it->first;
        names.push_back(it->second);
    }
    const order::NameOrder userOrder = order::userNameOrder();
    PictureList list(userOrder);
    list.addBatch(names);
    std::set<int> ranks;
    for (const auto& ranked : oracle.ranked)
        ranks.insert(ranked.first);
    expect(list.count() == int(ranks.size()), oracle.locale + ": the list holds one name of each rank");
    for (int i = 1; i < list.count(); ++i)
        expect(rankOf[list.at(i - 1)] < rankOf[list.at(i)],
            oracle.locale + ": the list holds \"" + list.at(i - 1) + "\" before \"" + list.at(i) + "\"");
}
