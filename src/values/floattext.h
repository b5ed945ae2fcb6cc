// The text form of a Float value: general format, 15 significant digits,
// decimal comma (used by Float values, variants and everything that shows
// a floating-point number to a script).
#pragma once

#include <string>

std::string FloatText(long double value);
