#include "odbc/odbcText.h"

#include <cstdlib>
#include <cstring>

#include "values/codepage.h"

OdbcTextCodec OdbcTextCodec::FromEnvironment() {
    const char* setting = std::getenv("SCRIPTRUN_ODBC_CHARSET");
    return OdbcTextCodec(setting != nullptr && std::strcmp(setting, "1251") == 0);
}

std::string OdbcTextCodec::ToDriver(std::string_view text) const {
    return passBytes_ ? std::string(text) : Cp1251ToUtf8(text);
}

std::string OdbcTextCodec::FromDriver(std::string_view text) const {
    return passBytes_ ? std::string(text) : Utf8ToCp1251(text);
}

std::string OdbcTextCodec::FromDriverWide(std::u16string_view text) const {
    return Utf8ToCp1251(Utf16ToUtf8(text));
}

namespace {

void AppendUtf8(std::string& out, char32_t code) {
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

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            char32_t code = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            AppendUtf8(out, code);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string_view TrimTrailingControlAndBlank(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view TrimControlAndBlank(std::string_view text) {
    text = TrimTrailingControlAndBlank(text);
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    return text;
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}
