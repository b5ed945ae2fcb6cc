#include "vm/RuntimeState.h"

bool ConsoleAvailable = false;
GrafVarArray* ActiveLocals = nullptr;
HostCallback InputHook;
HostCallback OutputHook;
