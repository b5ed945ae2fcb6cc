#include "vm/RuntimeLibrary.h"

#include <memory>

#include "values/StringType.h"
#include "vm/FailedRuns.h"
#include "vm/IncludeType.h"
#include "vm/VirtualMachine.h"

TGlobal_Func GlobalFunctions;

VAR_* NewGlobalFunction(const std::string& name, MethodCode code) {
    CallOwner.clear();
    CallName = name;
    VAR_* cell = NewFunction(MethodRecord{code, nullptr}, nullptr);
    CallName.clear();
    return cell;
}

namespace {

VAR_* Register(const char* name, MethodCode code) {
    VAR_* cell = NewGlobalFunction(name, code);
    System->AddCell(name, cell);
    return cell;
}

}  // namespace

void StartRuntimeLibrary() {
    if (!IncludeType) IncludeType = new Include_;
    GlobalFunctions.Input = Register("Input", InputFunction);
    GlobalFunctions.Output = Register("Output", OutputFunction);
    GlobalFunctions.Include = Register("Include", IncludeFunction);
    GlobalFunctions.Diap = Register("Diap", DiapFunction);
}

void InstallEmbeddedCodeHook() { EmbeddedCodeHook = RunEmbeddedCode; }

void StopRuntimeLibrary() {
    EmbeddedCodeHook = nullptr;
    GlobalFunctions = TGlobal_Func{};
    delete IncludeType;
    IncludeType = nullptr;
}

std::string RunEmbeddedCode(const std::string& code) {
    auto script = std::make_shared<CFuncVar>("String", code);
    VAR_* result = nullptr;
    try {
        result = Run(*script);
    } catch (...) {
        KeepFailedScript(script);
        throw;
    }
    TempRef owned(result);
    return owned->GetStr();
}
