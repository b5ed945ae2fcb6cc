#include "excel/XlsxText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "excel/XlModel.h"
#include "values/codepage.h"

namespace xl {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "_xHHHH_" at pos, with its code unit.
bool EscapeAt(std::string_view text, size_t pos, unsigned& unit) {
    if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') return false;
    unit = 0;
    for (size_t i = pos + 2; i < pos + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return false;
        unit = unit * 16 + unsigned(digit);
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

struct NamedCode {
    const char* name;
    int code;
};

constexpr NamedCode kUnderlines[] = {
    {"single", kUnderlineSingle}, {"double", kUnderlineDouble},
    {"singleAccounting", kUnderlineSingleAccounting}, {"doubleAccounting", kUnderlineDoubleAccounting},
    {"none", kUnderlineNone},
};
constexpr NamedCode kHorizontal[] = {
    {"general", kAlignGeneral}, {"left", kAlignLeft}, {"center", kAlignCenter}, {"right", kAlignRight},
    {"fill", kAlignFill}, {"justify", kAlignJustify}, {"centerContinuous", kAlignCenterAcross},
    {"distributed", kAlignDistributed},
};
constexpr NamedCode kVertical[] = {
    {"top", kAlignTop}, {"center", kAlignCenter}, {"bottom", kAlignBottom},
    {"justify", kAlignJustify}, {"distributed", kAlignDistributed},
};

template <size_t N> std::string NameOf(const NamedCode (&table)[N], int code) {
    for (const auto& entry : table)
        if (entry.code == code) return entry.name;
    return {};
}

template <size_t N> int CodeOf(const NamedCode (&table)[N], std::string_view name, int fallback) {
    for (const auto& entry : table)
        if (name == entry.name) return entry.code;
    return fallback;
}

}  // namespace

std::string ToPartText(std::string_view text) {
    const std::string utf8 = Cp1251ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned unit = 0;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "_x%04X_", c);
            out += escape;
        } else if (c == '_' && EscapeAt(utf8, i, unit)) {
            out += "_x005F_";
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string FromPartText(std::string_view utf8) {
    std::string decoded;
    decoded.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned unit = 0;
        if (utf8[i] == '_' && EscapeAt(utf8, i, unit)) {
            // Surrogate halves have no Windows-1251 form either way.
            AppendUtf8(decoded, (unit >= 0xD800 && unit <= 0xDFFF) ? unsigned('?') : unit);
            i += 6;
        } else {
            decoded += utf8[i];
        }
    }
    return Utf8ToCp1251(decoded);
}

std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<double> ParseNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
    int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string BorderStyleName(int lineStyle, int weight) {
    const bool heavy = weight == kMedium || weight == kThick;
    switch (lineStyle) {
    case kContinuous:
        if (weight == kHairline) return "hair";
        if (weight == kMedium) return "medium";
        if (weight == kThick) return "thick";
        return "thin";
    case kDash: return heavy ? "mediumDashed" : "dashed";
    case kDashDot: return heavy ? "mediumDashDot" : "dashDot";
    case kDashDotDot: return heavy ? "mediumDashDotDot" : "dashDotDot";
    case kDot: return "dotted";
    case kDouble: return "double";
    case kSlantDashDot: return "slantDashDot";
    default: return {};
    }
}

void ParseBorderStyleName(std::string_view name, int& lineStyle, int& weight) {
    struct Entry {
        const char* name;
        int lineStyle, weight;
    };
    static constexpr Entry kStyles[] = {
        {"hair", kContinuous, kHairline},         {"thin", kContinuous, kThin},
        {"medium", kContinuous, kMedium},         {"thick", kContinuous, kThick},
        {"dashed", kDash, kThin},                 {"mediumDashed", kDash, kMedium},
        {"dashDot", kDashDot, kThin},             {"mediumDashDot", kDashDot, kMedium},
        {"dashDotDot", kDashDotDot, kThin},       {"mediumDashDotDot", kDashDotDot, kMedium},
        {"dotted", kDot, kThin},                  {"double", kDouble, kThick},
        {"slantDashDot", kSlantDashDot, kMedium},
    };
    lineStyle = kLineNone;
    weight = kThin;
    for (const auto& entry : kStyles) {
        if (name == entry.name) {
            lineStyle = entry.lineStyle;
            weight = entry.weight;
            return;
        }
    }
}

std::string UnderlineName(int underline) { return NameOf(kUnderlines, underline); }
int UnderlineOfName(std::string_view name) { return CodeOf(kUnderlines, name, kUnderlineSingle); }
std::string HorizontalName(int code) { return NameOf(kHorizontal, code); }
int HorizontalOfName(std::string_view name) { return CodeOf(kHorizontal, name, kAlignGeneral); }
std::string VerticalName(int code) { return NameOf(kVertical, code); }
int VerticalOfName(std::string_view name) { return CodeOf(kVertical, name, kAlignBottom); }

}  // namespace xl
