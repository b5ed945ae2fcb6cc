#include "dbf/DBF_Floats.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "dbf/DBF_Bytes.h"

size_t FloatSizeForLength(unsigned length) {
    if (length <= 7) return 4;
    if (length <= 11) return 6;
    if (length <= 15) return 8;
    return 10;
}

// 6-byte real: byte 0 is the exponent biased by 129 (0 = the value 0);
// bytes 1..5 hold a 39-bit fraction, least significant byte first, whose
// top bit (bit 7 of byte 5) is the sign. Value = (1 + f / 2^39) * 2^(e-129).
double LoadReal48(const uint8_t* bytes) {
    if (bytes[0] == 0) return 0;
    const uint64_t raw = LoadLE(bytes + 1, 5);
    const uint64_t fraction = raw & ((uint64_t(1) << 39) - 1);
    const bool negative = (raw >> 39) & 1;
    const double magnitude = std::ldexp(1.0 + std::ldexp(double(fraction), -39), int(bytes[0]) - 129);
    return negative ? -magnitude : magnitude;
}

void StoreReal48(uint8_t* bytes, double value) {
    std::memset(bytes, 0, 6);
    if (value == 0 || std::isnan(value)) return;
    const bool negative = value < 0;
    int exponent2 = 0;
    double mantissa = std::frexp(std::fabs(value), &exponent2);  // [0.5, 1)
    int exponent = exponent2 - 1 + 129;                           // for 1.f form
    uint64_t fraction = 0;
    if (std::isinf(value) || exponent > 255) {
        exponent = 255;  // the largest magnitude the format holds
        fraction = (uint64_t(1) << 39) - 1;
    } else {
        fraction = uint64_t(std::llround((mantissa * 2 - 1) * 549755813888.0));  // 2^39
        if (fraction >> 39) {  // rounded up to the next power of two
            fraction = 0;
            ++exponent;
        }
        if (exponent > 255) {
            exponent = 255;
            fraction = (uint64_t(1) << 39) - 1;
        }
        if (exponent < 1) return;  // too small for the format: stored as 0
    }
    bytes[0] = uint8_t(exponent);
    StoreLE(bytes + 1, 5, fraction | (negative ? uint64_t(1) << 39 : 0));
}

// 80-bit extended: bytes 0..7 the 64-bit significand with an explicit
// integer bit (bit 63), bytes 8..9 the 15-bit exponent biased by 16383 and
// the sign in bit 15.
double LoadExtended80(const uint8_t* bytes) {
    const uint64_t significand = LoadLE(bytes, 8);
    const uint16_t signExponent = LoadU16(bytes + 8);
    const bool negative = signExponent & 0x8000;
    const int exponent = signExponent & 0x7FFF;
    double magnitude;
    if (exponent == 0x7FFF) {
        magnitude = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                            : std::numeric_limits<double>::quiet_NaN();
    } else {
        // Denormals (exponent 0) use the exponent of 1 without a hidden bit;
        // the explicit integer bit makes both cases the same formula.
        const int unbiased = (exponent == 0 ? 1 : exponent) - 16383;
        magnitude = std::ldexp(double(significand), unbiased - 63);
    }
    return negative ? -magnitude : magnitude;
}

void StoreExtended80(uint8_t* bytes, double value) {
    std::memset(bytes, 0, 10);
    uint16_t signExponent = std::signbit(value) ? 0x8000 : 0;
    uint64_t significand = 0;
    if (std::isnan(value)) {
        signExponent |= 0x7FFF;
        significand = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        signExponent |= 0x7FFF;
        significand = 0x8000000000000000ull;
    } else if (value != 0) {
        int exponent2 = 0;
        const double mantissa = std::frexp(std::fabs(value), &exponent2);  // [0.5, 1)
        // A double's 53 significant bits fit the 64-bit significand exactly.
        significand = uint64_t(std::ldexp(mantissa, 64));
        signExponent |= uint16_t(exponent2 - 1 + 16383);
    }
    StoreLE(bytes, 8, significand);
    StoreU16(bytes + 8, signExponent);
}

double LoadFloat(const uint8_t* bytes, size_t size) {
    switch (size) {
        case 4: {
            float f;
            std::memcpy(&f, bytes, 4);  // the platform is little-endian
            return f;
        }
        case 6: return LoadReal48(bytes);
        case 8: {
            double d;
            std::memcpy(&d, bytes, 8);
            return d;
        }
        case 10: return LoadExtended80(bytes);
        default: return 0;
    }
}

void StoreFloat(uint8_t* bytes, size_t size, double value) {
    switch (size) {
        case 4: {
            // Out-of-range values become infinities rather than relying on
            // an undefined narrowing conversion.
            const double limit = std::numeric_limits<float>::max();
            const float f = std::isnan(value) || std::fabs(value) <= limit
                                ? static_cast<float>(value)
                                : (value < 0 ? -std::numeric_limits<float>::infinity()
                                             : std::numeric_limits<float>::infinity());
            std::memcpy(bytes, &f, 4);
            break;
        }
        case 6: StoreReal48(bytes, value); break;
        case 8: std::memcpy(bytes, &value, 8); break;
        case 10: StoreExtended80(bytes, value); break;
        default: std::memset(bytes, 0, size); break;
    }
}
