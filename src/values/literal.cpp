#include "values/literal.h"

#include <cctype>
#include <string>

namespace {

std::string Lowered(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsBoolWord(const std::string& s, bool extended) {
    if (s == "false" || s == "true") return true;
    if (!extended) return false;
    return s == "no" || s == "yes" || s == "off" || s == "on" || s == "f" || s == "t";
}

// The running scan over a text that is not a boolean word.
LiteralClass ScanNumber(const std::string& s) {
    LiteralClass cls = LiteralClass::Null;
    bool dot = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const char prev = i > 0 ? s[i - 1] : '\0';
        if (c == '+' || c == '-') {
            if (i == 0) {  // a sign counts as a digit in first position
                cls = LiteralClass::Int;
                continue;
            }
            if (prev != 'e') return LiteralClass::String;
            cls = LiteralClass::Float;
        } else if (c >= '0' && c <= '9') {
            if (cls == LiteralClass::Null) cls = LiteralClass::Int;
        } else if (c == '.') {
            if (dot) return LiteralClass::String;
            dot = true;
            if (cls == LiteralClass::Null || cls == LiteralClass::Int) cls = LiteralClass::Float;
        } else if (c == 'e') {
            const bool afterDigitOrDot = (prev >= '0' && prev <= '9') || prev == '.';
            if (i == 0 || !afterDigitOrDot) return LiteralClass::String;
            cls = LiteralClass::Float;
        } else {
            return LiteralClass::String;
        }
    }
    return cls;
}

}  // namespace

LiteralClass ClassifyLiteral(std::string_view text, bool extended) {
    if (text.empty()) return LiteralClass::Null;
    const std::string s = Lowered(text);
    if (IsBoolWord(s, extended)) return LiteralClass::Bool;
    return ScanNumber(s);
}

bool LiteralTruth(std::string_view text) {
    const std::string s = Lowered(text);
    return s == "true" || s == "yes" || s == "on" || s == "t";
}
