// The text of a Float: 15 significant digits, trailing fraction zeros
// dropped, the decimal comma; fixed notation for magnitudes from 0.00001
// with at most 15 integer digits, scientific notation otherwise.
#include "values/floattext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kSmallestFixedExponent = -5;  // 0.00001

// The value rounded to 15 significant digits: the digits without a point
// and trailing zeros, and the decimal exponent of the first digit.
struct Rounded {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Rounded RoundToSignificant(long double value) {
    // Locale-independent "d.dddddddddddddde±x" of the value.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, size_t(result.ptr - buffer));
    Rounded r;
    size_t pos = 0;
    if (text[pos] == '-') {
        r.negative = true;
        ++pos;
    }
    const size_t e = text.find('e');
    for (size_t i = pos; i < e; ++i)
        if (text[i] != '.') r.digits += text[i];
    r.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (r.digits.size() > 1 && r.digits.back() == '0') r.digits.pop_back();
    return r;
}

std::string FixedText(const Rounded& r) {
    std::string text;
    if (r.exponent < 0) {
        text = "0," + std::string(size_t(-r.exponent - 1), '0') + r.digits;
    } else {
        const size_t integerDigits = size_t(r.exponent) + 1;
        text = r.digits.substr(0, std::min(integerDigits, r.digits.size()));
        if (text.size() < integerDigits) text.append(integerDigits - text.size(), '0');
        if (r.digits.size() > integerDigits) text += "," + r.digits.substr(integerDigits);
    }
    return text;
}

std::string ScientificText(const Rounded& r) {
    std::string text(1, r.digits[0]);
    if (r.digits.size() > 1) text += "," + r.digits.substr(1);
    return text + "E" + std::to_string(r.exponent);
}

}  // namespace

std::string FloatText(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";  // also for -0
    const Rounded r = RoundToSignificant(value);
    const bool fixed = r.exponent >= kSmallestFixedExponent && r.exponent < kSignificantDigits;
    const std::string text = fixed ? FixedText(r) : ScientificText(r);
    return r.negative ? "-" + text : text;
}
