#include "values/TypeHelpers.h"

#include <cmath>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHex(std::string_view digits, bool bits32, uint64_t& value) {
    const size_t maxDigits = bits32 ? 8 : 16;
    size_t start = 0;
    while (start + 1 < digits.size() && digits[start] == '0') ++start;  // leading zeros are free
    if (digits.empty() || digits.size() - start > maxDigits) return false;
    value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        value = (value << 4) | uint64_t(d);
    }
    return true;
}

bool ParseDecimal(std::string_view digits, bool negative, bool bits32, int64_t& out) {
    if (digits.empty()) return false;
    const uint64_t limit = bits32 ? (negative ? 2147483648ull : 2147483647ull)
                                  : (negative ? 9223372036854775808ull : 9223372036854775807ull);
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        const uint64_t d = uint64_t(c - '0');
        if (value > (limit - d) / 10) return false;
        value = value * 10 + d;
    }
    out = negative ? int64_t(0 - value) : int64_t(value);
    return true;
}

}  // namespace

bool ParseScriptInteger(std::string_view text, bool bits32, int64_t& out) {
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos < text.size() && text[pos] == '$') {
        uint64_t pattern = 0;
        if (!ParseHex(text.substr(pos + 1), bits32, pattern)) return false;
        int64_t value = bits32 ? int64_t(int32_t(uint32_t(pattern))) : int64_t(pattern);
        if (negative) value = int64_t(0 - uint64_t(value));
        out = bits32 ? int64_t(int32_t(uint32_t(uint64_t(value)))) : value;
        return true;
    }
    return ParseDecimal(text.substr(pos), negative, bits32, out);
}

int64_t RoundToInt64(long double value) {
    const long double rounded = std::nearbyint(value);  // default mode: ties to even
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    if (std::isnan(rounded) || rounded >= kLimit || rounded < -kLimit) return INT64_MIN;
    return int64_t(rounded);
}

VAR_* NewArray() { return VAR_::Create(Types.Array, true); }

GrafVarArray* TableOf(VAR_* arrayCell) { return static_cast<GrafVarArray*>(arrayCell->Data.ptr); }

void CheckTextLength(size_t length) {
    if (length > kMaxTextLength) throw ScriptError("String too long: " + std::to_string(length) + " bytes");
}
