// Conversions between Windows-1251 (the program's texts), code page 866
// (the console and dBase text fields) and UTF-8, and 1251 letter case.
#include "values/codepage.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

// ---------------------------------------------------------------------------
// 1251 <-> 866: only the Russian letters move.

unsigned char DosFrom1251(unsigned char b) {
    if (b >= 192 && b <= 239) return b - 64;  // А..п -> 128..175
    if (b >= 240) return b - 16;              // р..я -> 224..239
    if (b == 168) return 240;                 // Ё
    if (b == 184) return 241;                 // ё
    return b;
}

unsigned char Win1251FromDos(unsigned char b) {
    if (b >= 128 && b <= 175) return b + 64;
    if (b >= 224 && b <= 239) return b + 16;
    if (b == 240) return 168;
    if (b == 241) return 184;
    return b;
}

template <typename Map>
std::string MapBytes(std::string_view text, Map map) {
    std::string out(text);
    for (char& c : out) c = char(map(static_cast<unsigned char>(c)));
    return out;
}

// ---------------------------------------------------------------------------
// 1251 <-> Unicode. 0xC0..0xFF are А..я in order (U+0410..U+044F); the
// upper half below them is irregular. 0x98 has no character of its own and
// stands for U+0098, so that every byte survives a trip through UTF-8.

constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char32_t UnicodeOf1251(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return char32_t(0x0410 + (b - 0xC0));
    return kHighHalf[b - 0x80];
}

// The 1251 byte of a code point, or '?' when the code page has none.
char ByteOf1251(char32_t cp) {
    if (cp < 0x80) return char(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return char(0xC0 + (cp - 0x0410));
    for (size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == cp) return char(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one UTF-8 sequence at `pos`, advancing `pos`. A malformed
// sequence (bad lead byte, missing continuation, overlong form, surrogate,
// beyond U+10FFFF) yields nothing and consumes its longest valid-looking
// prefix, so it becomes a single "?".
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& cp) {
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        cp = lead;
        return true;
    }
    int extra;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, min = 0x80, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, min = 0x800, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, min = 0x10000, cp = lead & 0x07;
    } else {
        return false;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || !IsContinuation(static_cast<unsigned char>(text[pos]))) return false;
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// ---------------------------------------------------------------------------
// Letter case: tables built once from the pairs of the code page.

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};

    constexpr void Pair(int up, int low) {
        upper[size_t(low)] = static_cast<unsigned char>(up);
        lower[size_t(up)] = static_cast<unsigned char>(low);
    }

    constexpr CaseTables() {
        for (int i = 0; i < 256; ++i) upper[size_t(i)] = lower[size_t(i)] = static_cast<unsigned char>(i);
        for (int i = 0; i < 26; ++i) Pair('A' + i, 'a' + i);
        for (int i = 0; i < 32; ++i) Pair(0xC0 + i, 0xE0 + i);  // А..Я / а..я
        constexpr int kPairs[][2] = {
            {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
            {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
            {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
        };
        for (const auto& p : kPairs) Pair(p[0], p[1]);
    }
};

constexpr CaseTables kCase;

// ---------------------------------------------------------------------------
// Console code page.

enum class ConsoleCode { Dos866, Utf8, Win1251 };

ConsoleCode ConsoleCodeFromEnvironment() {
    const char* value = std::getenv("SCRIPTRUN_CONSOLE");
    if (!value) return ConsoleCode::Dos866;
    const std::string lowered = Lower1251(value);
    if (lowered == "utf-8" || lowered == "utf8") return ConsoleCode::Utf8;
    if (lowered == "1251") return ConsoleCode::Win1251;
    return ConsoleCode::Dos866;  // "866" and anything unknown
}

ConsoleCode TheConsoleCode() {
    static const ConsoleCode code = ConsoleCodeFromEnvironment();
    return code;
}

}  // namespace

std::string ToDosText(std::string_view text) { return MapBytes(text, DosFrom1251); }

std::string FromDosText(std::string_view text) { return MapBytes(text, Win1251FromDos); }

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) AppendUtf8(out, UnicodeOf1251(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        out += DecodeUtf8(text, pos, cp) ? ByteOf1251(cp) : '?';
    }
    return out;
}

std::string ToConsoleText(std::string_view text) {
    switch (TheConsoleCode()) {
        case ConsoleCode::Utf8: return Cp1251ToUtf8(text);
        case ConsoleCode::Win1251: return std::string(text);
        case ConsoleCode::Dos866: break;
    }
    return ToDosText(text);
}

std::string FromConsoleText(std::string_view text) {
    switch (TheConsoleCode()) {
        case ConsoleCode::Utf8: return Utf8ToCp1251(text);
        case ConsoleCode::Win1251: return std::string(text);
        case ConsoleCode::Dos866: break;
    }
    return FromDosText(text);
}

char UpperChar1251(char c) { return char(kCase.upper[static_cast<unsigned char>(c)]); }

char LowerChar1251(char c) { return char(kCase.lower[static_cast<unsigned char>(c)]); }

std::string Upper1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperChar1251(c);
    return out;
}

std::string Lower1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerChar1251(c);
    return out;
}

bool SameText1251(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerChar1251(a[i]) != LowerChar1251(b[i])) return false;
    return true;
}
