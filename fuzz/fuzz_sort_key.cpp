// The name order fed any bytes as three names (split at zero bytes; the
// first byte picks the locale). Whatever the bytes, the order must be a
// strict weak order, the keys must sort as the comparison does, and keys
// made name after name (reusing a shared folder part) must equal keys made
// alone.
#include "order/locale_compare.h"
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

std::array<std::string_view, 3> namesIn(std::string_view bytes)
{
    std::array<std::string_view, 3> names;
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t end = std::min(bytes.find('\0'), bytes.size());
        names[i] = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return names;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // Made once: a table takes far longer to load than an input to check.
    static const order::LocaleCompare english("en_US.UTF-8"), japanese("ja_JP.UTF-8");
    const order::LocaleCompare& order = (data[0] & 1) != 0 ? japanese : english;
    const auto names = namesIn(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::array<std::string, 3> keys;
    std::string madeInTurn;
    order::LocaleCompare::KeyMaker maker(order);
    for (size_t i = 0; i < names.size(); ++i) {
        keys[i] = order.sortKey(names[i]);
        madeInTurn.clear();
        maker.append(names[i], madeInTurn);
        require(madeInTurn == keys[i]);
    }
    auto compared = [&](size_t a, size_t b) { return sign(order.compare(names[a], names[b])); };
    for (size_t a = 0; a < 3; ++a) {
        require(compared(a, a) == 0);
        for (size_t b = 0; b < 3; ++b) {
            require(compared(a, b) == -compared(b, a));
            require(compared(a, b) == sign(keys[a].compare(keys[b])));
            for (size_t c = 0; c < 3; ++c)
                if (compared(a, b) <= 0 && compared(b, c) <= 0)
                    require(compared(a, c) <= 0 && (compared(a, c) < 0 || (compared(a, b) == 0 && compared(b, c) == 0)));
        }
    }
    return 0;
}
