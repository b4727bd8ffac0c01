#pragma once
// The name orders recorded on the desktop the viewer imitates
// (tests/data/compare-*.txt): tab-separated lines; "locale" names the
// locale, each "mode" line opens a block, and the first block holds the
// ranked names ("rank, name"), pairs that compare equal ("eq, a, b") and
// the punctuation in ascending order ("punct, chars"). Plain C++, so that
// the Windows test program reads it too.
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace oracle {

struct Orders {
    std::string locale;                               // "en-US"
    std::vector<std::pair<int, std::string>> ranked;  // rank, name
    std::vector<std::pair<std::string, std::string>> equal;
    std::string punctuation;                          // ascending
};

inline std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

inline Orders read(const std::string& path)
{
    Orders orders;
    std::ifstream in(path);
    int modes = 0;
    for (std::string line; std::getline(in, line);) {
        const auto f = splitTabs(line);
        if (f.size() < 2)
            continue;
        if (f[0] == "locale")
            orders.locale = f[1];
        else if (f[0] == "mode")
            ++modes;
        else if (f[0] == "punct")
            orders.punctuation = f[1];
        else if (modes == 1 && f[0] == "eq" && f.size() > 2)
            orders.equal.emplace_back(f[1], f[2]);
        else if (modes == 1 && std::isdigit(static_cast<unsigned char>(f[0][0])))
            orders.ranked.emplace_back(std::stoi(f[0]), f[1]);
    }
    return orders;
}

}
