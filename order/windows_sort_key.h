#pragma once
// Windows' sort key (LCMapStringEx with LCMAP_SORTKEY | NORM_IGNORECASE) of
// UTF-16 text, built from its own weights (windows_sort_table.*): the keys'
// byte order is CompareStringW's order with case ignored.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace order {

class WindowsSortKey {
public:
    enum class Table { EnUs, JaJp };
    explicit WindowsSortKey(Table table);
    ~WindowsSortKey();
    WindowsSortKey(const WindowsSortKey&) = delete;
    WindowsSortKey& operator=(const WindowsSortKey&) = delete;

    // The weights of a text read so far, part by part: a key in the making.
    struct Progress {
        std::string primary, diacritics, cases, kana[4], punctuations;
        void clear();
        // Where reading stands, and what reading on may change of what is
        // read: the last primary and diacritic weights.
        struct Mark {
            size_t primary, diacritics, cases, kana, punctuations;
            char lastPrimary, lastDiacritic;
        };
        Mark mark() const;
        // Back to where mark was made, as if nothing had been read since.
        void rewind(const Mark& mark);
    };
    // Reads text from position from on into progress, which holds what its
    // units before from weigh (a mark or a repeat mark may look back).
    void read(std::u16string_view text, size_t from, Progress& progress) const;
    // Appends the key progress makes, its closing 0 byte included, to key.
    static void finish(const Progress& progress, std::string& key);

    struct Unit;

private:
    std::vector<Unit> units_;
};

}
