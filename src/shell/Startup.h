// Start-up and shutdown of the whole program, in the order the parts
// depend on each other: value model, library creators, tree type, runtime
// functions, console check.
#pragma once

#include <string>

void StartProgram(const std::string& exePath);
void StopProgram();
