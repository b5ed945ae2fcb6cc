// Little-endian integers inside byte buffers, as every dBase structure
// stores them. Reads and writes of `size` bytes (1..8) at a pointer.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint64_t LoadLE(const uint8_t* bytes, size_t size) {
    uint64_t value = 0;
    for (size_t i = size; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

inline void StoreLE(uint8_t* bytes, size_t size, uint64_t value) {
    for (size_t i = 0; i < size; ++i, value >>= 8) bytes[i] = uint8_t(value & 0xFF);
}

inline uint32_t LoadU32(const uint8_t* bytes) { return uint32_t(LoadLE(bytes, 4)); }
inline uint16_t LoadU16(const uint8_t* bytes) { return uint16_t(LoadLE(bytes, 2)); }
inline void StoreU32(uint8_t* bytes, uint32_t value) { StoreLE(bytes, 4, value); }
inline void StoreU16(uint8_t* bytes, uint16_t value) { StoreLE(bytes, 2, value); }
