#include "excel/XlPalette.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace xl {
namespace {

// Entries 1..56; files call the same colours "indexed" 8..63.
constexpr std::array<uint32_t, kPaletteSize> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

int Channel(uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); }

int64_t DistanceSquared(uint32_t a, uint32_t b) {
    int64_t sum = 0;
    for (int shift : {0, 8, 16}) {
        const int64_t d = Channel(a, shift) - Channel(b, shift);
        sum += d * d;
    }
    return sum;
}

}  // namespace

bool IsPaletteIndex(int index) { return index >= 1 && index <= kPaletteSize; }

uint32_t PaletteRgb(int index) {
    return IsPaletteIndex(index) ? kPalette[std::size_t(index - 1)] : 0;
}

int PaletteIndexOfRgb(uint32_t rgb) {
    rgb &= 0xFFFFFF;
    int best = 1;
    int64_t bestDistance = INT64_MAX;
    for (int i = 1; i <= kPaletteSize; ++i) {
        const int64_t d = DistanceSquared(rgb, kPalette[std::size_t(i - 1)]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace xl
