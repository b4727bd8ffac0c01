#pragma once
// The generated names' order recorded under Windows' own comparison
// (tests/data/windows-order-*.txt, written by the Windows test program):
// "locale" names the locale; after "names", each line holds the relation of
// a name to the one above it ('<', '=' or '>'; '.' on the first) and the
// name, in Windows' ascending order; after "pairs", each line holds two
// line numbers of that list (from 0) and their relation.
#include "support/oracle_file.h"
#include <string>
#include <tuple>
#include <vector>

namespace windows_order {

struct Order {
    std::string locale;
    std::vector<std::string> names;   // ascending
    std::vector<char> above;          // names[i]'s relation to names[i - 1]
    std::vector<std::tuple<size_t, size_t, char>> pairs;
};

inline Order read(const std::string& path)
{
    Order order;
    std::ifstream in(path);
    std::string block;
    for (std::string line; std::getline(in, line);) {
        const auto f = oracle::splitTabs(line);
        if (f.size() == 2 && (f[0] == "locale" || f[0] == "names" || f[0] == "pairs")) {
            if (f[0] == "locale")
                order.locale = f[1];
            block = f[0];
        } else if (block == "names" && f.size() == 2 && f[0].size() == 1) {
            order.above.push_back(f[0][0]);
            order.names.push_back(f[1]);
        } else if (block == "pairs" && f.size() == 3 && f[2].size() == 1) {
            order.pairs.emplace_back(std::stoul(f[0]), std::stoul(f[1]), f[2][0]);
        }
    }
    return order;
}

}
