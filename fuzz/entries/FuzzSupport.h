// Helpers shared by the entry points.
#pragma once

#include <exception>
#include <string>

#include "compiler/CFuncVar.h"

// The scratch directory the process works in.
std::string& ScratchDirectory();
// Removes every file the previous input left, so inputs do not see each
// other's files.
void ClearScratchDirectory();
// Runs a compiled function under the instruction ceiling; a failure is an
// ordinary outcome. Frees whatever the run left in the process-wide tables.
void RunConfined(CFuncVar& function);
// Frees what script code left in the process-wide tables (globals, failed
// runs, open workbooks), so that no input sees another's state.
void ForgetScriptState();
// With SCRIPTRUN_FUZZ_VERBOSE set, prints why an input was refused (for
// looking into one input by hand).
void ReportRefusal(const std::exception& error);
