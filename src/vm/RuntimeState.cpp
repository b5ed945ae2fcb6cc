#include "vm/RuntimeState.h"

// ConsoleAvailable is defined with the compiler, which reads it too.
GrafVarArray* ActiveLocals = nullptr;
HostCallback InputHook;
HostCallback OutputHook;
void (*RecordCurrentObject)(VAR_* cell) = nullptr;
