// Process-wide state that the runtime library shares with the shell and
// with a host program embedding the interpreter.
#pragma once

#include <functional>
#include <string>

class GrafVarArray;

// True when writing "Programm Run" to standard output succeeded at start.
extern bool ConsoleAvailable;

// The locals of the function being run (nil outside a run); the batch
// error log prints them.
extern GrafVarArray* ActiveLocals;

// Host callbacks (one text in, one text out). When set, the global Input
// function asks InputHook with the prompt and Output passes its joined
// text to OutputHook instead of the console.
using HostCallback = std::function<std::string(const std::string&)>;
extern HostCallback InputHook;
extern HostCallback OutputHook;

struct VAR_;
// Called when an element or range of a value is addressed at statement
// level, so that the spreadsheet objects can remember the object in use.
// Unset while no such module is linked in.
extern void (*RecordCurrentObject)(VAR_* cell);
