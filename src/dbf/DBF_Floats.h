// Binary float formats of the binary record layout: IEEE single (4 bytes),
// the 6-byte real (6), IEEE double (8) and the 80-bit extended float (10),
// all little-endian. Converted in software, so the result does not depend
// on the width of the platform's long double.
#pragma once

#include <cstddef>
#include <cstdint>

// Size in bytes of the float stored for a binary 'F' field (or 'N' with
// decimals) of the given declared length.
size_t FloatSizeForLength(unsigned length);

// Decodes / encodes a float of `size` bytes (4, 6, 8 or 10); other sizes
// read as 0 and write zero bytes.
double LoadFloat(const uint8_t* bytes, size_t size);
void StoreFloat(uint8_t* bytes, size_t size, double value);

double LoadReal48(const uint8_t* bytes);
void StoreReal48(uint8_t* bytes, double value);
double LoadExtended80(const uint8_t* bytes);
void StoreExtended80(uint8_t* bytes, double value);
