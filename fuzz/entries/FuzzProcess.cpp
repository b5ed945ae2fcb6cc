// Process set-up of the harness: the libraries started as the program
// starts them, a scratch directory as the current directory, and a path
// filter that keeps every file a script names inside it.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "shell/Startup.h"
#include "values/unitUtils.h"
#include "vm/RuntimeState.h"

namespace {

// Absolute paths and any ".." step leave the scratch directory: such a
// name is replaced by a plain file name inside it.
std::string ConfinePath(std::string path) {
    const bool absolute = !path.empty() && path[0] == '/';
    if (absolute || path.find("..") != std::string::npos) return "confined-path";
    return path;
}

void EnterScratchDirectory() {
    char pattern[] = "/tmp/scriptrun-fuzz-XXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) {
        std::perror("scratch directory");
        std::abort();
    }
    ScratchDirectory() = pattern;
}

}  // namespace

std::string& ScratchDirectory() {
    static std::string directory;
    return directory;
}

void ClearScratchDirectory() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchDirectory(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

void ReportRefusal(const std::exception& error) {
    static const bool verbose = std::getenv("SCRIPTRUN_FUZZ_VERBOSE") != nullptr;
    if (verbose) std::fprintf(stderr, "refused: %s\n", error.what());
}

void PrepareFuzzProcess() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    setenv("SCRIPTRUN_TRACE", "off", 1);
    EnterScratchDirectory();
    NativePathFilter = ConfinePath;
    // No data sources and no drivers: scripts reach the ODBC driver manager
    // but no database outside the scratch directory (and none of the
    // drivers' own allocations, which they keep until they are unloaded).
    setenv("ODBCSYSINI", ScratchDirectory().c_str(), 1);
    setenv("ODBCINI", (ScratchDirectory() + "/odbc.ini").c_str(), 1);
    StartProgram(ScratchDirectory() + "/scriptrun");
    // Scripts under test neither wait for the console nor flood it.
    InputHook = [](const std::string&) { return std::string(); };
    OutputHook = [](const std::string&) { return std::string(); };
    // The libraries stay up until the process ends: what they hold is
    // reachable from their tables, and stopping them from an exit handler
    // would run after statics they use are gone.
    std::atexit([] {
        ClearScratchDirectory();
        std::error_code ignored;
        std::filesystem::remove(ScratchDirectory(), ignored);
    });
}

FuzzEntry EntryNamed(const std::string& name) {
    if (name == "script") return RunScriptInput;
    if (name == "image") return RunImageInput;
    if (name == "tree") return RunTreeInput;
    if (name == "table") return RunTableInput;
    if (name == "text") return RunTextInput;
    return nullptr;
}
