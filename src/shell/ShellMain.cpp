// Program entry: start-up, the trace log's opening dumps, then batch mode
// or the interactive command loop.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "shell/Shell.h"
#include "shell/Startup.h"
#include "values/scriptvar.h"
#include "vm/TraceLog.h"

namespace {

std::string ExecutablePath(const char* argv0) {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string(argv0 ? argv0 : "");
}

// Param: one entry per argument, argument 0 being the program's path, each
// made by literal detection with the extended boolean words.
VAR_* MakeParam(int argc, char** argv, const std::string& exePath) {
    VAR_* param = VAR_::Create(Types.Array, false);
    auto* table = static_cast<GrafVarArray*>(param->Data.ptr);
    for (int i = 0; i < argc; ++i) {
        const std::string text = i == 0 ? exePath : std::string(argv[i]);
        table->AddCell(std::to_string(table->Count), NewLiteral(text, true));
    }
    return param;
}

int RunBatch(int argc, char** argv, const std::string& exePath) {
    SetHook("loginfo", [](const std::string& message) {
        WriteErrorLog(message);
        return std::string();
    });
    StartupTable->AddCell("Param", MakeParam(argc, argv, exePath));
    RunCommand("Run \"" + std::string(argv[1]) + "\"");
    return LastCommandFailed ? 1 : 0;
}

void RunInteractive() {
    std::string word;
    while (word != "exit") {
        if (!ConsoleAvailable) break;
        std::fputs(">> :> ", stdout);
        std::fflush(stdout);
        word = RunCommand(ReadCommandLine());
    }
}

}  // namespace

int ShellMain(int argc, char** argv) {
    const std::string exePath = ExecutablePath(argc > 0 ? argv[0] : nullptr);
    StartProgram(exePath);
    StartupTable = new GrafVarArray;
    TraceLog.Open();
    TraceLog.Line("System: {" + System->Dump() + "}");
    TraceLog.Line("Consts: {" + Consts->Dump() + "}");
    int status = 0;
    if (argc > 1)
        status = RunBatch(argc, argv, exePath);
    else
        RunInteractive();
    std::fflush(stdout);
    TraceLog.Close();
    delete StartupTable;
    StartupTable = nullptr;
    StopProgram();
    return status;
}
