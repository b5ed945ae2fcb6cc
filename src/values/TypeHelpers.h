// Small helpers shared by the built-in types: argument access, position
// arithmetic and the integer and float conversions the conversion slots
// have in common.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "values/scriptvar.h"

// The argument at a 0-based position of a call's table, nil when absent.
inline VAR_* ArgAt(GrafVarArray* args, int position) {
    return args ? args->CellAt(position) : nullptr;
}

// The text of an argument; the empty text when the argument is absent.
inline std::string ArgText(GrafVarArray* args, int position) {
    VAR_* cell = ArgAt(args, position);
    return cell ? cell->GetStr() : std::string();
}

// Script integers designate positions and counts by their low 32 bits.
inline int32_t Low32(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }

// The smallest non-negative value of n + k * step (k >= 0): what adding
// the step repeatedly until the value is not negative gives, in one step.
inline int64_t WrapNegative(int64_t n, int64_t step) {
    if (n >= 0 || step <= 0) return n;
    const int64_t r = n % step;
    return r < 0 ? r + step : r;
}

// A text's integer: leading blanks, an optional sign, then decimal digits
// or "$" and hexadecimal digits; nothing else may follow. With `bits32`
// the value must fit in 32 bits (hexadecimal up to 8 digits, read as a
// 32-bit pattern). False when the text is not such a number.
bool ParseScriptInteger(std::string_view text, bool bits32, int64_t& out);

// Round to the nearest integer, ties to even; values outside the 64-bit
// range (and NaN) give the smallest 64-bit integer.
int64_t RoundToInt64(long double value);

// A new empty Array value (a temporary) and the table behind an Array cell.
VAR_* NewArray();
GrafVarArray* TableOf(VAR_* arrayCell);

// Bounds the texts that operators build, so that a repeat or a length
// assignment cannot ask for unbounded memory.
constexpr size_t kMaxTextLength = size_t(1) << 28;
void CheckTextLength(size_t length);
