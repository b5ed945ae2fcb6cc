// The virtual machine: runs a compiled function by walking its instruction
// list once from the start, evaluating each statement left to right in a
// small register set, and calling itself for sub-expressions (arguments,
// indexes, conditions) that share the caller's instruction index.
#pragma once

#include "compiler/CFuncVar.h"
#include "values/scriptvar.h"

// Runs a whole function: copies the start table's entries (if any) into its
// locals, makes them the ActiveLocals, executes it and clears the locals
// again. Returns the function's result (a Temp cell the caller releases).
// A failure raises ScriptError with the failing statement's context in
// front; the failed function's locals then stay the ActiveLocals.
VAR_* Run(CFuncVar& function, GrafVarArray* startTable = nullptr);

// Whether the function is being run right now (an outer activation of a
// recursive include); such a function is run from a copy of its image so
// that the two runs do not share locals.
bool IsRunning(const CFuncVar& function);

// Nested activations (sub-evaluations and runs) allowed before a run fails
// with a clear error instead of exhausting the C++ stack.
inline constexpr int kMaxNesting = 400;

// A ceiling on the instructions executed, for test harnesses that feed
// arbitrary scripts and need endless loops to end; 0 (the default) means
// no ceiling, as scripts may loop on purpose. StepsTaken counts against it
// and is reset by whoever sets the ceiling.
inline uint64_t StepLimit = 0;
inline uint64_t StepsTaken = 0;
// With a ceiling set, also a limit on the run's CPU time in seconds (0:
// none), checked every 1024 instructions from StepClockStart: a few
// hundred thousand instructions that each copy a large array are a long
// run without being an endless one.
inline double StepSecondsLimit = 0;
inline double StepClockStart = 0;
// The process's CPU time in seconds, the clock StepSecondsLimit is kept by.
double ProcessSeconds();
