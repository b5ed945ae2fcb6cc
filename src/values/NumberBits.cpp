#include "values/NumberBits.h"

#include "values/TypeHelpers.h"

int NormaliseBitNumber(int64_t key, int step) {
    int64_t n = Low32(key);
    if (n < 0) n = step > 0 ? WrapNegative(n, step) : 64;
    return int(n % 256);
}

bool ReadBit(uint64_t pattern, int bit) { return bit >= 0 && bit < 64 && ((pattern >> bit) & 1u); }

uint64_t WriteBit(uint64_t pattern, int bit, bool on) {
    if (bit < 0 || bit > 63) return pattern;
    const uint64_t mask = uint64_t(1) << bit;
    return on ? (pattern | mask) : (pattern & ~mask);
}

uint64_t ReadBitField(uint64_t pattern, int first, int last) {
    uint64_t field = 0;
    for (int bit = first; bit <= last && bit - first < 64; ++bit)
        if (ReadBit(pattern, bit)) field |= uint64_t(1) << (bit - first);
    return field;
}

uint64_t WriteBitField(uint64_t pattern, int first, int last, uint64_t source) {
    int count = ((last - first + 1) % 256 + 256) % 256;
    if (count == 0) count = 256;
    for (int k = 0; k < count && first + k < 64; ++k) pattern = WriteBit(pattern, first + k, ReadBit(source, k));
    return pattern;
}

namespace {

// The effective shift, or -1 when the value is cleared.
int ShiftCount(int64_t count) {
    const auto c = int8_t(uint8_t(uint64_t(count) & 0xFF));
    if (c >= 64) return -1;
    if (c >= 0) return c;
    return ((c % 32) + 32) % 32;
}

}  // namespace

uint64_t ShiftLeft(uint64_t value, int64_t count) {
    const int c = ShiftCount(count);
    return c < 0 ? 0 : value << c;
}

uint64_t ShiftRight(uint64_t value, int64_t count) {
    const int c = ShiftCount(count);
    return c < 0 ? 0 : value >> c;
}
