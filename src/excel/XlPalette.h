// The standard 56-colour palette behind the automation ColorIndex values,
// and the mapping between indexes and the RGB colours stored in files.
#pragma once

#include <cstdint>

namespace xl {

constexpr int kColorAutomatic = -4105;  // xlColorIndexAutomatic
constexpr int kColorNone = -4142;       // xlColorIndexNone
constexpr int kPaletteSize = 56;

bool IsPaletteIndex(int index);
// 0xRRGGBB of palette entry 1..56.
uint32_t PaletteRgb(int index);
// The first palette entry with exactly this colour, else the nearest one
// (what the application reports for colours outside its palette).
int PaletteIndexOfRgb(uint32_t rgb);

}  // namespace xl
