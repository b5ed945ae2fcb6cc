// The runtime library: the global functions every script sees (Input,
// Output, Include, Diap; Tree comes from the tree module) and the hook
// that lets string literals embed code.
#pragma once

#include <string>

#include "values/scriptvar.h"

// The cells of the global functions, as entered into System (which owns
// them). Tree stays nil here: the tree module registers it.
struct TGlobal_Func {
    VAR_* Input = nullptr;
    VAR_* Output = nullptr;
    VAR_* Include = nullptr;
    VAR_* Diap = nullptr;
    VAR_* Tree = nullptr;
};
extern TGlobal_Func GlobalFunctions;

// Creates the Include type and enters Input, Output, Include and Diap into
// System, in this order.
void StartRuntimeLibrary();
// Lets string literals run their "#{...}" sections.
void InstallEmbeddedCodeHook();
// Destroys the Include type; runs after the value tables are gone.
void StopRuntimeLibrary();

// A function value for a global routine, named System.<name>.
VAR_* NewGlobalFunction(const std::string& name, MethodCode code);

// The routines behind the global functions (arguments by position; a
// missing one reads as Null).
VAR_* InputFunction(void* object, GrafVarArray* args);
VAR_* OutputFunction(void* object, GrafVarArray* args);
VAR_* IncludeFunction(void* object, GrafVarArray* args);
VAR_* DiapFunction(void* object, GrafVarArray* args);

// The text a "#{code}" section of a string literal stands for: the code
// compiled as a function named "String" and run without a start table.
std::string RunEmbeddedCode(const std::string& code);

// Diap refuses to build more numbers than this in one call.
inline constexpr int64_t kMaxDiapCount = int64_t(1) << 20;
