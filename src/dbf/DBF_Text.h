// Small text helpers of the field conversions.
#pragma once

#include <string>
#include <string_view>

// Without leading and trailing blanks and control characters.
inline std::string TrimText(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return std::string(text.substr(first, last - first));
}

// Whether the text's first character says "true": 1, T, Y, t or y.
inline bool IsTrueText(std::string_view text) {
    return !text.empty() && std::string_view("1TYty").find(text[0]) != std::string_view::npos;
}
