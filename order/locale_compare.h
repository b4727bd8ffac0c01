#pragma once
// The user locale's case-insensitive comparison of names, as the desktop's
// own file lists order them (Windows' sort keys, built from its own
// weights): case differences, canonically equivalent spellings and
// ligatures against their letters are equal; width, accents and kana type
// count; hyphen, apostrophe and controls only break ties; other punctuation
// sorts before digits, digits before letters.
#include <memory>
#include <string>
#include <string_view>

namespace order {

// The user's locale for ordering names, from the environment as LC_ALL,
// LC_COLLATE or LANG names it; "C" when none does.
std::string userLocaleName();

class LocaleCompare {
public:
    // localeName as in LANG ("ja_JP.UTF-8"): Japanese locales take the
    // Japanese order; all others, "", "C" and "POSIX" the default order.
    explicit LocaleCompare(std::string_view localeName);
    ~LocaleCompare();
    LocaleCompare(const LocaleCompare&) = delete;
    LocaleCompare& operator=(const LocaleCompare&) = delete;

    // name is native bytes (UTF-8, possibly invalid). Returns <0, 0, >0.
    int compare(std::string_view a, std::string_view b) const;
    // A byte string whose plain byte order equals compare()'s order.
    std::string sortKey(std::string_view name) const;

private:
    struct Reading;

public:
    // sortKey for many names, which reads the part up to a name's last '/'
    // only when it differs from the name before's: a folder scan's paths
    // come folder by folder.
    class KeyMaker {
    public:
        explicit KeyMaker(const LocaleCompare& order);
        ~KeyMaker();
        KeyMaker(const KeyMaker&) = delete;
        KeyMaker& operator=(const KeyMaker&) = delete;
        // Appends name's key to keys.
        void append(std::string_view name, std::string& keys);

    private:
        const LocaleCompare& order_;
        std::string folderName_;
        std::unique_ptr<Reading> reading_; // the folder part, then the name
    };

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}
