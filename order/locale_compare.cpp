// The desktop's name order is Windows' own: a name's sort key is the key
// Windows builds for it (windows_sort_key.*), from the table of the user's
// locale. An invalid byte weighs as the lone surrogate U+DC80 + byte, which
// no valid name holds; and since Windows never sees such names and distinct
// files must stay distinct, their keys end with the invalid bytes and where
// they stand. Valid names are equal when Windows finds them equal: case
// differences, canonically equivalent spellings, ligatures and their
// letters, ignorable characters.
#include "order/locale_compare.h"
#include "order/windows_sort_key.h"
#include <unicode/utf16.h>
#include <unicode/utf8.h>
#include <algorithm>
#include <cstdlib>

namespace order {

namespace {

// Japanese locales sort by the Japanese table; every other locale, C and
// POSIX by the default table, as Windows does for most languages.
WindowsSortKey::Table tableFor(std::string_view localeName)
{
    return localeName.starts_with("ja_") || localeName.starts_with("ja.") || localeName == "ja"
        ? WindowsSortKey::Table::JaJp
        : WindowsSortKey::Table::EnUs;
}

}

struct LocaleCompare::Impl {
    explicit Impl(WindowsSortKey::Table table) : windows(table) {}
    WindowsSortKey windows;
};

std::string userLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return "C";
}

LocaleCompare::LocaleCompare(std::string_view localeName) : impl_(std::make_unique<Impl>(tableFor(localeName))) {}

LocaleCompare::~LocaleCompare() = default;

int LocaleCompare::compare(std::string_view a, std::string_view b) const
{
    return sortKey(a).compare(sortKey(b));
}

// Appends name's UTF-16 text to text and its invalid bytes, each with where
// it stands in text, to invalid.
static void decode(std::string_view name, std::u16string& text, std::string& invalid)
{
    for (size_t i = 0; i < name.size();) {
        const size_t start = i;
        UChar32 c;
        U8_NEXT(name.data(), i, name.size(), c);
        if (c < 0) {
            i = start + 1;
            const size_t position = std::min<size_t>(text.size(), 0xFFFF);
            invalid += {char(position >> 8), char(position & 0xFF), name[start]};
            text += char16_t(0xDC80 + static_cast<unsigned char>(name[start]));
        } else if (U_IS_BMP(c)) {
            text += char16_t(c);
        } else {
            text += {char16_t(U16_LEAD(c)), char16_t(U16_TRAIL(c))};
        }
    }
}

// A name read so far: its text, its invalid bytes and its weights.
struct LocaleCompare::Reading {
    // Where reading stands.
    struct Mark {
        size_t text, invalid;
        WindowsSortKey::Progress::Mark progress;
    };

    std::u16string text;
    std::string invalid;
    WindowsSortKey::Progress progress;
    Mark folderEnd{}; // where a KeyMaker's folder part ends

    void clear()
    {
        text.clear();
        invalid.clear();
        progress.clear();
    }
    // Reads more of the name.
    void read(const WindowsSortKey& windows, std::string_view more)
    {
        const size_t from = text.size();
        decode(more, text, invalid);
        windows.read(text, from, progress);
    }
    Mark mark() const { return {text.size(), invalid.size(), progress.mark()}; }
    // Back to where mark was made, as if nothing had been read since.
    void rewind(const Mark& mark)
    {
        text.resize(mark.text);
        invalid.resize(mark.invalid);
        progress.rewind(mark.progress);
    }
    void appendKey(std::string& key) const
    {
        WindowsSortKey::finish(progress, key);
        key += invalid;
    }
};

std::string LocaleCompare::sortKey(std::string_view name) const
{
    // Lists build their many keys through a KeyMaker, which keeps its reading.
    Reading reading;
    reading.read(impl_->windows, name);
    std::string key;
    reading.appendKey(key);
    key.shrink_to_fit(); // lists keep many
    return key;
}

LocaleCompare::KeyMaker::KeyMaker(const LocaleCompare& order)
    : order_(order), reading_(std::make_unique<Reading>())
{
}

LocaleCompare::KeyMaker::~KeyMaker() = default;

void LocaleCompare::KeyMaker::append(std::string_view name, std::string& keys)
{
    const WindowsSortKey& windows = order_.impl_->windows;
    // Up to the last '/', an ASCII byte: no character spans the cut.
    const size_t cut = name.rfind('/') + 1;
    if (name.substr(0, cut) != folderName_) {
        folderName_ = name.substr(0, cut);
        reading_->clear();
        reading_->read(windows, folderName_);
        reading_->folderEnd = reading_->mark();
    } else {
        reading_->rewind(reading_->folderEnd);
    }
    reading_->read(windows, name.substr(cut));
    reading_->appendKey(keys);
}

}
