// The batch error log "ErrorScript.log": written next to the program file
// when a batch command failed (into the current directory when the
// program's directory is not writable).
#include <unistd.h>

#include <cstdio>
#include <string>

#include "shell/Shell.h"
#include "values/scriptvar.h"

namespace {

std::string ProgramDirectory() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string exe(path, size_t(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash == 0 ? 1 : slash);
}

std::FILE* OpenErrorLog() {
    const std::string beside = ProgramDirectory() + "/ErrorScript.log";
    if (std::FILE* f = std::fopen(beside.c_str(), "wb")) return f;
    return std::fopen("ErrorScript.log", "wb");
}

std::string ParamText() {
    if (!StartupTable) return {};
    VAR_* param = StartupTable->CellByName("Param");
    if (!param || param->Type != Types.Array || !param->Data.ptr) return {};
    return static_cast<GrafVarArray*>(param->Data.ptr)->Join(" ");
}

void PutLine(std::FILE* f, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputc('\n', f);
}

}  // namespace

void WriteErrorLog(const std::string& message) {
    if (!ErrorFlag) return;
    if (std::FILE* f = OpenErrorLog()) {
        PutLine(f, message);
        PutLine(f, "");
        PutLine(f, "Param: " + ParamText());
        if (ActiveLocals) PutLine(f, "ActArs: " + ActiveLocals->Dump());
        PutLine(f, "Global: " + (Globals ? Globals->Dump() : std::string()));
        std::fclose(f);
    }
    ErrorFlag = false;
}
