// Bit access shared by Int and Float: bit-number normalisation, bit
// fields and shift counts, all on a 64-bit pattern.
#pragma once

#include <cstdint>

// A script's bit number for a value whose negative numbers count back by
// `step` bits (8 * Size for Int, 64 for Float): the low 32 bits, a
// negative number wrapped by the step, then taken modulo 256. A step of 0
// (the Int 0) makes a negative number 64, which addresses nothing.
int NormaliseBitNumber(int64_t key, int step);

bool ReadBit(uint64_t pattern, int bit);               // false beyond bit 63
uint64_t WriteBit(uint64_t pattern, int bit, bool on);  // unchanged beyond bit 63

// Bits first..last of the pattern as bits 0, 1, ...; 0 when last < first.
uint64_t ReadBitField(uint64_t pattern, int first, int last);
// Bits first, first+1, ... := bits 0, 1, ... of `source`; the count is
// last - first + 1 modulo 256, 0 counting as 256.
uint64_t WriteBitField(uint64_t pattern, int first, int last, uint64_t source);

// Shift by the low byte of the count read as a signed byte: 0..63 shift,
// 64..127 clear, a negative count shifts by itself modulo 32.
uint64_t ShiftLeft(uint64_t value, int64_t count);
uint64_t ShiftRight(uint64_t value, int64_t count);  // logical: zeros enter
