// A key has five parts, as Windows writes them:
//   primary weights, 01,
//   diacritic weights, 01 (a combining mark adds its weight to the last),
//   case weights, 01 (trailing weights of 2 or less left out in both),
//   kana weights (small, repeat, kana type, width) when there is kana, 01,
//   punctuation weights (hyphen, apostrophe, controls) with the position
//   they stand at, which only break ties, 00.
// A repeat mark (ー, ゝ, 々 ...) weighs as the character before it: a
// prolonged sound mark as that kana's vowel, an iteration mark as the kana
// itself with the mark's own voicing; after another character it copies
// that character's weights.
#include "order/windows_sort_key.h"
#include "order/generated/windows_sort_table.h"
#include <QByteArray>
#include <cstring>
#include <stdexcept>

namespace order {

// The record kinds of the table (tools/windows_sort/make_table.py).
enum Kind : uint8_t { ignored, letter, mark, punctuation, repeat };

// One UTF-16 unit's weights.
struct WindowsSortKey::Unit {
    Kind kind = ignored;
    uint8_t primarySize = 0, diacriticSize = 0, caseSize = 0;
    uint8_t primary[8] = {};
    uint8_t diacritic[3] = {};
    uint8_t cases[3] = {};
    // Kana: 0x80 | small | katakana << 1 | half width << 2; vowel is the
    // primary weight a prolonged sound mark after it takes.
    uint8_t kana = 0;
    uint8_t vowel[2] = {};
    // What a repeat mark after it copies.
    uint8_t copySize = 0, copyDiacriticSize = 0, copyCaseSize = 0;
    uint8_t copy[3] = {};
    uint8_t copyDiacritic[1] = {}, copyCase[1] = {};
    // Punctuation: its weight and its diacritic << 3 | case. Repeat marks:
    // their diacritic, and prolonged | half width << 1.
    uint8_t special[2] = {};
};

namespace {

constexpr uint8_t small = 1, katakana = 2, halfWidth = 4;
constexpr uint8_t prolonged = 1, repeatHalfWidth = 2;

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    uint8_t byte()
    {
        if (at_ >= bytes_.size())
            throw std::runtime_error("the Windows sort table is cut short");
        return uint8_t(bytes_[at_++]);
    }

    // A counted run of at most capacity bytes; a primary weight is stored
    // as its difference from the one before of the same size.
    template <size_t capacity>
    uint8_t counted(uint8_t (&into)[capacity], const uint8_t* before = nullptr, uint8_t beforeSize = 0)
    {
        const uint8_t size = byte();
        if (size > capacity)
            throw std::runtime_error("the Windows sort table holds a weight too long");
        for (uint8_t i = 0; i < size; ++i)
            into[i] = byte();
        if (before && size == beforeSize) {
            unsigned carry = 0;
            for (int i = size - 1; i >= 0; --i) {
                const unsigned sum = into[i] + before[i] + carry;
                into[i] = uint8_t(sum);
                carry = sum >> 8;
            }
        }
        return size;
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

QByteArray unpacked(WindowsSortKey::Table table)
{
    const char* packed = table == WindowsSortKey::Table::JaJp ? windows_sort::tableJaJp : windows_sort::tableEnUs;
    return qUncompress(QByteArray::fromBase64(QByteArray(packed)));
}

// Trailing weights that weigh nothing are left out: diacritic and case
// weights of 2 or less, kana weights of an ordinary kana.
template <class Plain>
void appendWithoutTrailing(std::string& key, std::string_view weights, Plain plain)
{
    size_t n = weights.size();
    while (n > 0 && plain(uint8_t(weights[n - 1])))
        --n;
    key.append(weights, 0, n);
}

void appendWeights(std::string& key, const std::string& weights)
{
    // Eight weights at a time while all are 2 or less: long names are
    // mostly plain letters, whose weights are all 2.
    constexpr uint64_t ones = 0x0101010101010101u;
    size_t n = weights.size();
    for (uint64_t eight = 0; n >= 8; n -= 8) {
        std::memcpy(&eight, weights.data() + n - 8, 8);
        // A byte over 2 sets its top bit once 125 is added, or had it set.
        if (((eight + 125 * ones) | eight) & 0x80 * ones)
            break;
    }
    appendWithoutTrailing(key, std::string_view(weights).substr(0, n), [](uint8_t w) { return w <= 2; });
}

void appendKanaWeights(std::string& key, const std::string& weights, uint8_t ordinary)
{
    appendWithoutTrailing(key, weights, [ordinary](uint8_t w) { return w == ordinary; });
}

bool isVowelJamo(char16_t c) { return c >= 0x1161 && c <= 0x11A7; }
bool isTrailingJamo(char16_t c) { return c >= 0x11A8 && c <= 0x11FF; }

}

WindowsSortKey::WindowsSortKey(Table table) : units_(0x10000)
{
    const QByteArray bytes = unpacked(table);
    Reader in(bytes);
    const Unit* previous = nullptr;
    const Unit* previousCopy = nullptr;
    for (Unit& unit : units_) {
        unit.kind = Kind(in.byte());
        switch (unit.kind) {
        case ignored:
            break;
        case punctuation:
        case repeat:
            unit.special[0] = in.byte();
            unit.special[1] = in.byte();
            break;
        case mark:
            unit.diacritic[0] = in.byte();
            break;
        case letter:
            unit.primarySize = previous ? in.counted(unit.primary, previous->primary, previous->primarySize)
                                        : in.counted(unit.primary);
            unit.diacriticSize = in.counted(unit.diacritic);
            unit.caseSize = in.counted(unit.cases);
            unit.kana = in.byte();
            if (unit.kana) {
                unit.vowel[0] = in.byte();
                unit.vowel[1] = in.byte();
            }
            unit.copySize = previousCopy ? in.counted(unit.copy, previousCopy->copy, previousCopy->copySize)
                                         : in.counted(unit.copy);
            unit.copyDiacriticSize = in.counted(unit.copyDiacritic);
            unit.copyCaseSize = in.counted(unit.copyCase);
            previous = previousCopy = &unit;
            break;
        default:
            throw std::runtime_error("the Windows sort table holds an unknown record");
        }
    }
}

WindowsSortKey::~WindowsSortKey() = default;

void WindowsSortKey::Progress::clear()
{
    for (std::string* part : {&primary, &diacritics, &cases, &kana[0], &kana[1], &kana[2], &kana[3], &punctuations})
        part->clear();
}

WindowsSortKey::Progress::Mark WindowsSortKey::Progress::mark() const
{
    return {primary.size(), diacritics.size(), cases.size(), kana[0].size(), punctuations.size(),
        primary.empty() ? '\0' : primary.back(), diacritics.empty() ? '\0' : diacritics.back()};
}

void WindowsSortKey::Progress::rewind(const Mark& mark)
{
    primary.resize(mark.primary);
    diacritics.resize(mark.diacritics);
    cases.resize(mark.cases);
    for (std::string& part : kana)
        part.resize(mark.kana);
    punctuations.resize(mark.punctuations);
    if (!primary.empty())
        primary.back() = mark.lastPrimary;
    if (!diacritics.empty())
        diacritics.back() = mark.lastDiacritic;
}

void WindowsSortKey::read(std::u16string_view text, size_t from, Progress& progress) const
{
    // Named one by one: Clang 14 lets no lambda capture a structured binding.
    std::string& key = progress.primary;
    std::string& diacritics = progress.diacritics;
    std::string& cases = progress.cases;
    std::string& punctuations = progress.punctuations;
    std::string(&kana)[4] = progress.kana;
    auto addKana = [&](uint8_t flags, uint8_t repeatWeight, bool half) {
        kana[0] += char(flags & small ? 0xC4 : 0xC6);
        kana[1] += char(repeatWeight);
        kana[2] += char(flags & katakana ? 0xC4 : 0xE4);
        kana[3] += char(half ? 0xC4 : 0xC5);
    };

    for (size_t i = from; i < text.size(); ++i) {
        const Unit& unit = units_[text[i]];
        switch (unit.kind) {
        case ignored:
            break;
        case punctuation: {
            const uint16_t position = uint16_t(-int(key.size() / 2) - 1);
            punctuations += {char(position >> 8), char(position & 0xFF), char(unit.special[0]), char(unit.special[1])};
            break;
        }
        case mark:
            if (diacritics.empty())
                diacritics += char(unit.diacritic[0]);
            else
                diacritics.back() = char(uint8_t(diacritics.back()) + unit.diacritic[0]);
            break;
        case repeat: {
            const Unit* base = nullptr;
            for (size_t j = i; j > 0 && !base;) {
                const Unit& before = units_[text[--j]];
                if (before.kind == letter || before.kind == punctuation)
                    base = &before;
            }
            if (!base) {
                key += "\xFF\xFF";
            } else if (base->kind == punctuation) {
                key += {'\x06', char(base->special[0])};
                diacritics += char(base->special[1] >> 3);
                cases += char(base->special[1] & 7);
            } else if (base->kana) {
                const bool isProlonged = unit.special[1] & prolonged;
                key.append(reinterpret_cast<const char*>(isProlonged ? base->vowel : base->primary), 2);
                diacritics += char(unit.special[0]);
                cases += '\x02';
                addKana(base->kana, isProlonged ? 5 : 4,
                    isProlonged ? unit.special[1] & repeatHalfWidth : base->kana & halfWidth);
            } else {
                key.append(reinterpret_cast<const char*>(base->copy), base->copySize);
                diacritics.append(reinterpret_cast<const char*>(base->copyDiacritic), base->copyDiacriticSize);
                cases.append(reinterpret_cast<const char*>(base->copyCase), base->copyCaseSize);
            }
            break;
        }
        case letter:
            // A trailing consonant joins the vowel before it.
            if (isTrailingJamo(text[i]) && i > 0 && isVowelJamo(text[i - 1])) {
                key.back() = char(unit.primary[unit.primarySize - 1]);
                break;
            }
            if (unit.primarySize == 2 && unit.diacriticSize == 1 && unit.caseSize == 1) {
                // Most letters: pushed byte by byte, without a copy of unknown
                // length, after one test for all three (a test per weight
                // costs a fifth of the key's time again).
                key.push_back(char(unit.primary[0]));
                key.push_back(char(unit.primary[1]));
                diacritics.push_back(char(unit.diacritic[0]));
                cases.push_back(char(unit.cases[0]));
            } else {
                key.append(reinterpret_cast<const char*>(unit.primary), unit.primarySize);
                diacritics.append(reinterpret_cast<const char*>(unit.diacritic), unit.diacriticSize);
                cases.append(reinterpret_cast<const char*>(unit.cases), unit.caseSize);
            }
            if (unit.kana)
                addKana(unit.kana, 3, unit.kana & halfWidth);
            break;
        }
    }
}

void WindowsSortKey::finish(const Progress& progress, std::string& key)
{
    const auto& [primary, diacritics, cases, kana, punctuations] = progress;
    key += primary;
    key += '\x01';
    appendWeights(key, diacritics);
    key += '\x01';
    appendWeights(key, cases);
    key += '\x01';
    if (!kana[0].empty()) {
        appendKanaWeights(key, kana[0], 0xC6);
        key += '\xFF';
        appendKanaWeights(key, kana[1], 3);
        key += '\x02';
        appendKanaWeights(key, kana[2], 0xE4);
        key += '\xFF';
        appendKanaWeights(key, kana[3], 0xC5);
        key += '\xFF';
    }
    key += '\x01';
    key += punctuations;
    key += '\0';
}

}
