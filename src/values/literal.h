// Classification of literal texts: what kind of value a word of a script,
// a command-line argument or a console answer denotes.
#pragma once

#include <string_view>

enum class LiteralClass { Null, Int, Float, Bool, String };

// With `extended`, also no/yes/off/on/f/t are booleans.
LiteralClass ClassifyLiteral(std::string_view text, bool extended);
// For a Bool class text: whether it denotes true.
bool LiteralTruth(std::string_view text);
