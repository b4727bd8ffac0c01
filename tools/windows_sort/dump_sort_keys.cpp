// Windows' sort keys (LCMapStringEx, LCMAP_SORTKEY | NORM_IGNORECASE, the
// user locale), written as hexadecimal, one a line:
//   dump_sort_keys chars OUT       every UTF-16 unit alone (surrogates too): "cp<TAB>key",
//                                  only for characters that weigh anything
//   dump_sort_keys names IN OUT    each UTF-8 line of IN: "key<TAB>line"
// Run under Wine by make_table.sh, which turns the first into our table.
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string sortKey(const std::wstring& text)
{
    unsigned char key[4096];
    const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
        int(text.size()), reinterpret_cast<wchar_t*>(key), sizeof key, nullptr, nullptr, 0);
    std::string hex;
    char digits[3];
    for (int i = 0; i < n; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", key[i]);
        hex += digits;
    }
    return hex;
}

void chars(const char* out)
{
    std::ofstream file(out, std::ios::binary);
    const std::string nothing = sortKey(L"");
    for (unsigned c = 1; c <= 0xFFFF; ++c) {
        const std::string key = sortKey(std::wstring(1, wchar_t(c)));
        if (key != nothing)
            file << std::hex << unsigned(c) << '\t' << key << '\n';
    }
}

void names(const char* in, const char* out)
{
    std::ifstream input(in, std::ios::binary);
    std::ofstream file(out, std::ios::binary);
    for (std::string line; std::getline(input, line);) {
        std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), nullptr, 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), wide.data(), int(wide.size()));
        file << sortKey(wide) << '\t' << line << '\n';
    }
}

}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "chars" && argc == 3)
        chars(argv[2]);
    else if (mode == "names" && argc == 4)
        names(argv[2], argv[3]);
    else {
        std::fprintf(stderr, "usage: dump_sort_keys chars OUT | names IN OUT\n");
        return 2;
    }
    return 0;
}
