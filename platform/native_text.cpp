#include "platform/native_text.h"

namespace platform {

namespace {

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

void appendUtf16(char32_t code, std::u16string& out)
{
    if (code < 0x10000) {
        out += char16_t(code);
        return;
    }
    code -= 0x10000;
    out += char16_t(0xD800 + (code >> 10));
    out += char16_t(0xDC00 + (code & 0x3FF));
}

}

std::string nativeText(std::u16string_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t code = wide[i];
        if (isHighSurrogate(code) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1]))
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        appendUtf8(code, out);
    }
    return out;
}

// Bytes that are no UTF-8 (which Windows never gave) each stand for
// themselves as a code unit, so that nothing is lost.
std::u16string utf16Text(std::string_view native)
{
    std::u16string out;
    out.reserve(native.size());
    size_t i = 0;
    while (i < native.size()) {
        const auto lead = static_cast<unsigned char>(native[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        char32_t code = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : length == 2 ? lead & 0x1F : lead;
        bool valid = length > 0 && i + size_t(length) <= native.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto unit = static_cast<unsigned char>(native[i + size_t(k)]);
            valid = (unit & 0xC0) == 0x80;
            code = (code << 6) | (unit & 0x3F);
        }
        const char32_t least = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0;
        if (!valid || code < least || code > 0x10FFFF) {
            out += char16_t(lead);
            ++i;
            continue;
        }
        appendUtf16(code, out);
        i += size_t(length);
    }
    return out;
}

}
