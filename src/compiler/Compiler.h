// Compiling script text into a CFuncVar.
#pragma once

#include <string_view>

class CFuncVar;

// Fills `func` from a script text: its pool is reset to the single entry
// "\x01" and its code and labels to empty first. Throws ScriptError with the
// compiler's own text on malformed input (the CFuncVar constructor adds
// "compilings Error" in front). Unclosed loops and blocks are reported on
// standard output; open blocks are closed at the end.
void CompileScript(CFuncVar& func, std::string_view text);

// Whether standard output reaches a console. The runtime library's start-up
// sets it; some end-of-compilation warnings are written only when it is set.
extern bool ConsoleAvailable;
