#include "shell/Startup.h"

#include <unistd.h>

#include <cstdio>

#include "values/scriptvar.h"
#include "vm/RuntimeState.h"

namespace {

std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// The console is usable when the greeting line can be written.
bool GreetConsole() {
    return std::fputs("Programm Run\n", stdout) >= 0 && std::fflush(stdout) == 0;
}

}  // namespace

void StartProgram(const std::string& exePath) {
    StartValueModel(exePath, CurrentDirectory());
    ConsoleAvailable = GreetConsole();
}

void StopProgram() {
    StopValueModel();
}
