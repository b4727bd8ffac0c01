// The desktop's name order built on ICU. A sort key has four parts:
//   1. ICU's key (primary to tertiary) of the case-folded name without
//      hyphens and apostrophes, in a collation tailored so that punctuation
//      and kana rank as the desktop ranks them;
//   2. the hyphens, apostrophes and controls, by position, which only break
//      ties;
//   3. a 0 byte;
//   4. when the name holds invalid UTF-8, its folded code points, since
//      ICU weighs all invalid bytes alike and distinct files must stay
//      distinct. Valid names are equal when the desktop finds them equal:
//      case differences, canonically equivalent spellings, ligatures and
//      their letters, ignorable characters.
#include "toolkit/locale_compare.h"
#include <unicode/ucol.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace toolkit {

namespace {

void check(UErrorCode status, const char* what)
{
    if (U_FAILURE(status))
        throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
}

// "ja_JP.UTF-8@mod" -> "ja_JP"; the C and POSIX locales -> "" (root).
std::string icuLocale(std::string_view name)
{
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return {};
    return std::string(name);
}

std::u16string localeRules(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* base = ucol_open(locale.c_str(), &status);
    check(status, "ucol_open");
    int32_t length = 0;
    const UChar* rules = ucol_getRules(base, &length);
    std::u16string result(rules, length);
    ucol_close(base);
    // ICU's Japanese order moves width and kana type below the tertiary
    // level, where the desktop keeps them; keep only its kanji order.
    const std::u16string privateKana = u"[import ja-u-co-private-kana]";
    if (auto at = result.find(privateKana); at != result.npos)
        result.erase(at, privateKana.size());
    return result;
}

// For each ASCII character, the characters whose compatibility form is it
// alone (its full-width, small and other variants), by code point.
std::map<char16_t, std::u16string> asciiVariants()
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
    check(status, "unorm2_getNFKCInstance");
    std::map<char16_t, std::u16string> variants;
    for (UChar32 v = 0x80; v <= 0xFFFF; ++v) {
        UChar decomposed[4];
        if (unorm2_getRawDecomposition(nfkc, v, decomposed, 4, &status) == 1 && decomposed[0] < 0x80)
            variants[decomposed[0]] += char16_t(v);
        status = U_ZERO_ERROR;
    }
    return variants;
}

// Punctuation other than hyphen and apostrophe, in the desktop's order, all
// before digits, each followed by its variants. Japanese systems rank the
// backslash, their yen sign, later.
std::u16string punctuationRule(bool japanese)
{
    const std::u16string order = japanese ? u" !\"#$%&()*,./:;?@[]^_`{|}~\\+<=>"
                                          : u" !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
    std::map<char16_t, std::u16string> variants = asciiVariants();
    std::u16string rule;
    for (char16_t c : order) {
        rule += rule.empty() ? u"&'" : u"<'";
        rule += c;
        rule += u'\'';
        for (char16_t variant : variants[c])
            rule += u"<<<" + std::u16string(1, variant);
    }
    return rule;
}

// Ligatures weigh as the letters they join.
std::u16string ligatureRule()
{
    return u"&ae=æ&oe=œ&ss=ß&ff=ﬀ&fi=ﬁ&fl=ﬂ&ffi=ﬃ&ffl=ﬄ&st=ﬅ=ﬆ&ij=ĳ&th=þ&dž=ǆ&lj=ǉ&nj=ǌ&dz=ǳ";
}

// Half-width katakana < katakana < hiragana of the same sound; ICU's root
// ranks them the other way round.
std::u16string kanaRule()
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfkc = unorm2_getNFKCInstance(&status);
    check(status, "unorm2_getNFKCInstance");
    std::map<char16_t, char16_t> halfWidth;
    for (char16_t narrow = 0xFF66; narrow <= 0xFF9D; ++narrow) {
        UChar wide[4];
        if (unorm2_getDecomposition(nfkc, narrow, wide, 4, &status) == 1)
            halfWidth[wide[0]] = narrow;
    }
    std::u16string rule;
    for (char16_t katakana = u'ァ'; katakana <= u'ー'; ++katakana) {
        std::u16string chain;
        if (auto narrow = halfWidth.find(katakana); narrow != halfWidth.end())
            chain = {narrow->second, u'<', u'<', u'<'};
        chain += katakana;
        if (katakana <= u'ヶ')
            chain += {u'<', u'<', u'<', char16_t(katakana - (u'ア' - u'あ'))};
        if (chain.size() > 1)
            rule += u'&' + chain;
    }
    return rule;
}

UCollator* openCollator(const std::string& locale)
{
    const bool japanese = (locale + '_').starts_with("ja_");
    const std::u16string rules = localeRules(locale) + punctuationRule(japanese) + ligatureRule() + kanaRule();
    UErrorCode status = U_ZERO_ERROR;
    UParseError where;
    UCollator* collator = ucol_openRules(rules.data(), rules.size(), UCOL_DEFAULT,
                                         UCOL_TERTIARY, &where, &status);
    check(status, "ucol_openRules");
    // Canonically equivalent spellings weigh the same.
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    check(status, "ucol_setAttribute");
    return collator;
}

// ICU's key of text, its closing 0 byte included.
std::string collationKey(const UCollator* collator, std::u16string_view text)
{
    std::string key(text.size() * 4 + 8, '\0');
    for (;;) {
        const int32_t n = ucol_getSortKey(collator, text.data(), text.size(),
                                          reinterpret_cast<uint8_t*>(key.data()), key.size());
        const bool fits = size_t(n) <= key.size();
        key.resize(n);
        if (fits)
            return key;
    }
}

// Next code point of native bytes; an invalid byte becomes U+DC80 + byte,
// which no valid UTF-8 can produce, and sets invalid.
UChar32 nextCodePoint(std::string_view bytes, size_t& i, bool& invalid)
{
    const size_t start = i;
    UChar32 c;
    U8_NEXT(bytes.data(), i, bytes.size(), c);
    if (c >= 0)
        return c;
    i = start + 1;
    invalid = true;
    return 0xDC80 + static_cast<unsigned char>(bytes[start]);
}

// Characters that only break ties: hyphen, apostrophe, controls and the
// zero-width space.
bool isTieBreaker(UChar32 c) { return c == u'-' || c == u'\'' || c < 0x20 || c == 0x7F || c == 0x200B; }

// Tie-break entry: position in code points, then apostrophe < hyphen <
// controls < zero-width space.
void appendTie(std::string& ties, size_t position, UChar32 c)
{
    const size_t p = std::min<size_t>(position, 255 * 255 - 1);
    ties += char(1 + p / 255);
    ties += char(1 + p % 255);
    ties += char(c == u'\'' ? 1 : c == u'-' ? 2 : c == 0x200B ? 0x80 : c == 0x7F ? 0x23 : 3 + c);
}

// The replacement character weighs nothing, as format characters do.
bool isIgnored(UChar32 c) { return c == 0xFFFD; }

constexpr size_t tieSize = 3;

// Printable ASCII, the common case, skips ICU: its key of such text is each
// character's primary weight in turn, then a tail (the secondary and
// tertiary levels) that depends only on how many characters there are.
// That holds unless the collation has ASCII contractions or compresses
// these weights, so it is checked on every pair and the table left empty
// if it fails.
struct AsciiTable {
    // A primary takes at most four bytes; a character with more (an
    // expansion) fails the pair check.
    struct Weight {
        char bytes[4];
        size_t size;
    };
    std::array<Weight, 128> primary{};
    std::vector<std::string> tails; // by character count

    static constexpr size_t longest = 256;

    static bool collated(char c)
    {
        return c >= 0x20 && c < 0x7F && !(c >= 'A' && c <= 'Z') && !isTieBreaker(c);
    }

    std::string primaryOf(char c) const { return {primary[c].bytes, primary[c].size}; }

    explicit AsciiTable(const UCollator* collator)
    {
        std::u16string run;
        for (size_t n = 0; n <= longest; ++n, run += u'a') {
            const std::string key = collationKey(collator, run);
            tails.push_back(key.substr(key.find('\1')));
        }
        std::string chars;
        for (char c = 0x20; c < 0x7F; ++c)
            if (collated(c))
                chars += c;
        for (char c : chars) {
            const std::string key = collationKey(collator, std::u16string(1, c));
            primary[c].size = std::min(key.find('\1'), sizeof primary[c].bytes);
            key.copy(primary[c].bytes, primary[c].size);
        }
        for (char a : chars)
            for (char b : chars)
                if (collationKey(collator, std::u16string{char16_t(a), char16_t(b)})
                    != primaryOf(a) + primaryOf(b) + tails[2]) {
                    tails.clear();
                    return;
                }
    }

    // None when name is not printable ASCII or too long for the table.
    std::optional<std::string> key(std::string_view name) const
    {
        if (name.size() > longest || tails.empty()
            || !std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
            return std::nullopt;
        char primaries[longest * sizeof(Weight::bytes)];
        char* out = primaries;
        std::string ties;
        for (size_t i = 0; i < name.size(); ++i) {
            const char c = name[i] >= 'A' && name[i] <= 'Z' ? name[i] + ('a' - 'A') : name[i];
            if (isTieBreaker(c)) {
                appendTie(ties, i, c);
            } else {
                std::memcpy(out, primary[c].bytes, sizeof(Weight::bytes));
                out += primary[c].size;
            }
        }
        const std::string& tail = tails[name.size() - ties.size() / tieSize];
        std::string key;
        key.reserve((out - primaries) + tail.size() + ties.size() + 1); // lists keep many
        key.append(primaries, out).append(tail).append(ties) += '\0';
        return key;
    }
};

// The general path, for any bytes.
std::string fullKey(const UCollator* collator, std::string_view name)
{
    std::u16string text;
    std::string ties, codes;
    bool invalid = false;
    size_t position = 0;
    for (size_t i = 0; i < name.size(); ++position) {
        const UChar32 c = u_foldCase(nextCodePoint(name, i, invalid), U_FOLD_CASE_DEFAULT);
        char bytes[U8_MAX_LENGTH];
        int32_t length = 0;
        U8_APPEND_UNSAFE(bytes, length, c);
        codes.append(bytes, length);
        if (isIgnored(c))
            continue;
        if (isTieBreaker(c))
            appendTie(ties, position, c);
        else if (U_IS_BMP(c))
            text += char16_t(c);
        else
            text += {U16_LEAD(c), U16_TRAIL(c)};
    }
    std::string key = collationKey(collator, text) + ties + '\0';
    if (invalid)
        key += codes;
    key.shrink_to_fit(); // lists keep many
    return key;
}

}

struct LocaleCompare::Impl {
    explicit Impl(UCollator* opened) : collator(opened), ascii(opened) {}
    ~Impl() { ucol_close(collator); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    UCollator* collator;
    AsciiTable ascii;
};

const LocaleCompare& LocaleCompare::user()
{
    static const LocaleCompare instance([] {
        for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"})
            if (const char* value = std::getenv(variable); value && *value)
                return value;
        return "C";
    }());
    return instance;
}

LocaleCompare::LocaleCompare(const char* localeName)
    : impl_(std::make_unique<Impl>(openCollator(icuLocale(localeName))))
{
}

LocaleCompare::~LocaleCompare() = default;

int LocaleCompare::compare(std::string_view a, std::string_view b) const
{
    return sortKey(a).compare(sortKey(b));
}

std::string LocaleCompare::sortKey(std::string_view name) const
{
    if (auto key = impl_->ascii.key(name))
        return *std::move(key);
    return fullKey(impl_->collator, name);
}

}
