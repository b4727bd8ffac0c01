#include "name_repertoire.h"
#include <random>
#include <set>

namespace repertoire {

namespace {

using Spellings = std::vector<std::u32string>;

// Spellings that a reader might take for one another: each family puts
// every one of a group in the same place of the same name.
const std::vector<Spellings> groups = {
    // Accents, precomposed and decomposed, and their case.
    {U"e", U"E", U"é", U"É", U"e\u0301", U"E\u0301", U"è", U"e\u0300", U"ê", U"e\u0302", U"ë", U"e\u0308", U"ě",
        U"e\u030C", U"ę", U"e\u0328", U"ē", U"e\u0304", U"ｅ", U"Ｅ"},
    {U"a", U"A", U"á", U"a\u0301", U"à", U"â", U"ä", U"a\u0308", U"Ä", U"A\u0308", U"ã", U"å", U"a\u030A", U"Å",
        U"\u212B", U"ą", U"ă", U"ª", U"ａ", U"Ａ"},
    {U"o", U"O", U"ó", U"o\u0301", U"ö", U"o\u0308", U"Ö", U"ő", U"o\u030B", U"ø", U"Ø", U"õ", U"ō", U"º"},
    {U"c", U"C", U"ç", U"c\u0327", U"Ç", U"č", U"c\u030C", U"ć", U"ĉ"},
    {U"n", U"N", U"ñ", U"n\u0303", U"Ñ", U"ń", U"ň", U"ŉ", U"ŋ"},
    {U"s", U"S", U"š", U"s\u030C", U"ś", U"ş", U"ș", U"ſ", U"ß", U"ẞ", U"ss", U"SS", U"sz"},
    {U"u", U"U", U"ü", U"u\u0308", U"Ü", U"ú", U"ù", U"û", U"ů", U"u\u030A", U"ű", U"ū"},
    {U"i", U"I", U"í", U"ì", U"î", U"ï", U"i\u0308", U"ı", U"İ", U"I\u0307", U"ĳ", U"Ĳ", U"ij", U"IJ"},
    {U"l", U"L", U"ł", U"Ł", U"ŀ", U"l\u00B7", U"ľ", U"ĺ"},
    {U"d", U"D", U"đ", U"Đ", U"ð", U"Ð", U"ď", U"ǆ", U"ǅ", U"Ǆ", U"dž", U"Dž", U"DŽ"},
    {U"t", U"T", U"þ", U"Þ", U"th", U"ţ", U"ț", U"ť"},
    // Ligatures against their letters.
    {U"ae", U"AE", U"Ae", U"æ", U"Æ", U"a\u0308", U"ǽ", U"aé"},
    {U"oe", U"OE", U"œ", U"Œ", U"ö", U"ø"},
    {U"fi", U"FI", U"ﬁ", U"fl", U"ﬂ", U"ff", U"ﬀ", U"ffi", U"ﬃ", U"st", U"ﬆ"},
    // Dashes and hyphens.
    {U"-", U"\u2010", U"\u2011", U"\u2012", U"\u2013", U"\u2014", U"\u2015", U"\u2212", U"\uFE58", U"\uFE63",
        U"\uFF0D", U"\u00AD", U"\u058A", U"\u2E3A", U"\u301C", U"\uFF5E", U"\u30A0", U"_", U"~", U""},
    // Apostrophes and quotation marks.
    {U"'", U"\u2018", U"\u2019", U"\u201A", U"\u201B", U"\u2032", U"\u02BC", U"\u02B9", U"`", U"\u00B4",
        U"\uFF07", U"\u2035", U""},
    {U"\"", U"\u201C", U"\u201D", U"\u201E", U"\u201F", U"\u2033", U"\u00AB", U"\u00BB", U"\u2039", U"\u203A",
        U"\uFF02", U"\u300C", U"\u300D", U"\u300E", U"\u300F", U"''"},
    // Controls, format characters and other candidates for being ignored.
    {U"", U"\u0001", U"\u001F", U"\u007F", U"\u0085", U"\u00AD", U"\u200B", U"\u200C", U"\u200D", U"\u200E",
        U"\u2060", U"\uFEFF", U"\uFE0F", U"\u034F", U"\uFFFD", U"\uE000"},
    // Spaces.
    {U" ", U"\u00A0", U"\u3000", U"\u2002", U"\u2009", U"\u202F", U"  ", U""},
    // Other punctuation and symbols, and their wide forms.
    {U"!", U"！", U"¡", U"?", U"？", U"¿", U".", U"．", U"。", U"｡", U"…", U",", U"，", U"、", U"､", U":", U"：", U";",
        U"；", U"·", U"・", U"･", U"•"},
    {U"(", U"（", U")", U"）", U"[", U"［", U"]", U"{", U"｛", U"【", U"】", U"〔", U"〈", U"《", U"<", U"＜", U">", U"＞"},
    {U"#", U"＃", U"$", U"＄", U"%", U"％", U"&", U"＆", U"*", U"＊", U"+", U"＋", U"=", U"＝", U"@", U"＠", U"/", U"／",
        U"\\", U"＼", U"¥", U"￥", U"^", U"＾", U"|", U"｜", U"¦"},
    {U"§", U"¶", U"©", U"®", U"™", U"°", U"±", U"×", U"÷", U"€", U"£", U"¢", U"‰", U"†", U"‡", U"※", U"♪", U"★",
        U"☆", U"→", U"←", U"∞", U"√", U"∑", U"Ω", U"Ω", U"µ", U"μ", U"K", U"\u212A"},
    // Digits of other widths and scripts.
    {U"1", U"１", U"¹", U"₁", U"①", U"⑴", U"⒈", U"Ⅰ", U"ⅰ", U"١", U"۱", U"१", U"১", U"๑", U"𝟏", U"一", U"壱"},
    {U"2", U"２", U"²", U"②", U"Ⅱ", U"٢", U"२", U"𝟐", U"二", U"10", U"１０", U"⑩", U"½", U"¼"},
    {U"0", U"０", U"⁰", U"٠", U"०", U"〇", U"零", U"𝟎", U"00", U"O", U"o"},
    // Full-width and half-width letters.
    {U"abc", U"ABC", U"ａｂｃ", U"ＡＢＣ", U"Ａｂｃ", U"ab", U"abd", U"𝐚𝐛𝐜", U"ⓐⓑⓒ"},
    // Kana: both scripts, half-width, voiced and semi-voiced marks in every
    // spelling, small kana, the prolonged sound mark, iteration marks.
    {U"か", U"カ", U"ｶ", U"が", U"ガ", U"ｶﾞ", U"か\u3099", U"カ\u3099", U"か\u309B", U"カ゛", U"ヵ", U"ゕ", U"ヶ",
        U"ゖ", U"㋕"},
    {U"は", U"ハ", U"ﾊ", U"ば", U"バ", U"ﾊﾞ", U"は\u3099", U"ぱ", U"パ", U"ﾊﾟ", U"は\u309A", U"ハ\u309A", U"は゜",
        U"ハ゜"},
    {U"あ", U"ア", U"ｱ", U"ぁ", U"ァ", U"ｧ", U"ああ", U"あー", U"アー", U"ｱｰ", U"あ〜", U"ア-", U"ア\u2015", U"あゝ",
        U"アヽ", U"ｱ\u2010"},
    {U"つ", U"ツ", U"ｯ", U"っ", U"ッ", U"ｯ", U"づ", U"ヅ", U"つ\u3099", U"ず", U"ズ"},
    {U"う", U"ウ", U"ゥ", U"ぅ", U"ゔ", U"ヴ", U"う\u3099", U"ｳﾞ", U"ヷ", U"ワ\u3099", U"わ", U"ゎ", U"ヮ"},
    {U"よ", U"ヨ", U"ょ", U"ョ", U"ｮ", U"ゆ", U"ユ", U"ゅ", U"ュ", U"や", U"ゃ", U"ャ", U"ゞ", U"ヾ", U"ゝ"},
    {U"ー", U"ｰ", U"-", U"\u2015", U"\u2014", U"〜", U"～", U"\u30FB", U"゛", U"゜", U"ﾞ", U"ﾟ"},
    // CJK, with compatibility and radical forms.
    {U"画", U"像", U"画像", U"畫", U"日", U"⽇", U"日本", U"本", U"語", U"漢字", U"東京", U"写真", U"寫眞", U"豈", U"更",
        U"\uF901", U"𠀀", U"𩸽", U"𠮷", U"吉", U"々", U"〆", U"ヶ月", U"㍻", U"平成"},
    // Outside the BMP, and case pairs of other scripts.
    {U"😀", U"🙂", U"𝐀", U"𝐚", U"𐐀", U"𐐨", U"𐌰", U"𓀀", U"\U0001F1EF\U0001F1F5", U"\U000E0001", U"\U0010FFFD",
        U"α", U"Α", U"ά", U"α\u0301", U"σ", U"Σ", U"ς", U"д", U"Д", U"ё", U"е\u0308", U"Ё", U"ω", U"Ω"},
    {U"가", U"\u1100\u1161", U"각", U"\u1100\u1161\u11A8", U"ㄱ", U"ᄀ", U"ﾡ", U"א", U"ب", U"ﺏ", U"ก", U"ა", U"Ⴀ",
        U"ⴀ"},
};

// Single characters for random names, in pools by kind.
const std::vector<std::u32string> pools = {
    U"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ",
    U"0123456789",
    U" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
    U"éèêëáàâäãåçñóòôöõøúùûüýÿőűšžčřłđğıİśźżąęōūīățșÉÈÄÖÜÇÑŠŽŁĐ",
    U"\u0300\u0301\u0302\u0303\u0308\u030A\u030C\u0327\u0328\u0304",
    U"æÆœŒßẞﬁﬂﬀĳĲþÞðÐſǆǅǄ",
    U"\u2010\u2011\u2012\u2013\u2014\u2015\u2212\uFF0D\u00AD\u2018\u2019\u201A\u201C\u201D\u201E\u2032\u2033\u02BC"
    U"\u00AB\u00BB\uFF07\uFF02",
    U"¡¿§¶©®™°±×÷€£¥¢•…‰†‡※、。・「」【】〜♪★→∞\u00A0\u3000",
    U"０１２３４５６７８９٠١٢٣४५६๑¹²³①②Ⅰ",
    U"ＡＢＣａｂｃＸｙｚ！＃（）＿－",
    U"ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ",
    U"ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねのはばぱひびぴふぶぷへべぺほぼぽ"
    U"まみむめもゃやゅゆょよらりるれろゎわをんゔゝゞ\u3099\u309A゛゜",
    U"ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポ"
    U"マミムメモャヤュユョヨラリルレロヮワヲンヴヵヶーヽヾ",
    U"一二三日本語画像漢字東京写真人大中小山川田々〆豈\U00020000\U00029E3D\U00020BB7",
    U"😀🙂𝐀𝐚𐐀𐐨𐌰αΑσΣςдДёЁ가각ㄱאبก",
};

// Endings of picture names.
const std::vector<std::u32string> endings = {U".jpg", U".JPG", U".png", U".bmp", U""};

class Maker {
public:
    explicit Maker(unsigned seed) : random_(seed) {}

    // mt19937's output is the same everywhere; no distributions, whose
    // results differ between standard libraries.
    size_t below(size_t n) { return random_() % n; }

    template <class T>
    const T& pick(const std::vector<T>& from)
    {
        return from[below(from.size())];
    }

    char32_t randomChar()
    {
        const std::u32string& pool = pick(pools);
        return pool[below(pool.size())];
    }

    // A short plain word, so that families read as names.
    std::u32string word()
    {
        static const std::vector<std::u32string> words = {U"photo", U"img", U"Scan", U"a", U"x", U"DSC", U"cafe",
            U"写真", U"しゃしん", U"", U"2024", U"co", U"file"};
        return pick(words);
    }

private:
    std::mt19937 random_;
};

}

std::vector<std::u32string> names()
{
    std::vector<std::u32string> result;
    Maker make(17);
    // Families: one context, every spelling of a group in it.
    for (const Spellings& group : groups)
        for (int context = 0; context < 5; ++context) {
            const std::u32string before = context == 0 ? U"" : make.word();
            const std::u32string after = context == 1 ? U"" : make.word() + make.pick(endings);
            for (const std::u32string& spelling : group)
                result.push_back(before + spelling + after);
        }
    // Pairs of spellings side by side, where one may weigh only as a tie
    // breaker for the other.
    for (const Spellings& group : groups)
        for (int i = 0; i < 12; ++i)
            result.push_back(make.pick(group) + make.pick(group) + make.pick(endings));
    // Random names: runs of one kind, and mixtures.
    while (result.size() < 5000) {
        std::u32string name;
        for (size_t runs = 1 + make.below(3); runs > 0; --runs) {
            const std::u32string& pool = make.pick(pools);
            for (size_t n = 1 + make.below(5); n > 0; --n)
                name += make.below(5) ? pool[make.below(pool.size())] : make.randomChar();
        }
        result.push_back(name + make.pick(endings));
    }
    std::vector<std::u32string> distinct;
    std::set<std::u32string> seen;
    for (std::u32string& name : result)
        if (!name.empty() && seen.insert(name).second)
            distinct.push_back(std::move(name));
    return distinct;
}

}
