// The script pipeline: a script text is compiled (or a binary image
// loaded), then saved, listed and run as the flags ask, in that order.
#include "shell/Pipeline.h"

#include <memory>

#include "compiler/CFuncVar.h"
#include "compiler/ImageFile.h"
#include "compiler/Listing.h"
#include "shell/Shell.h"
#include "values/unitUtils.h"
#include "vm/FailedRuns.h"
#include "vm/VirtualMachine.h"

namespace {

// The compiled function is named by the file name cut before its first ".".
std::string FunctionName(const std::string& fileName) {
    const size_t dot = fileName.find('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::shared_ptr<CFuncVar> Obtain(const std::string& fileName, int flags) {
    const std::string name = FunctionName(fileName);
    if (flags & kLoadImage) return std::shared_ptr<CFuncVar>(LoadImage(name, fileName));
    const std::string text = ReadWholeFile(fileName);
    return std::make_shared<CFuncVar>(name, text);
}

}  // namespace

void ProcessScript(const std::string& fileName, int flags, const std::string& targetName) {
    // What a previous command left for its error report is not needed now.
    ReleaseFailedScripts();
    std::shared_ptr<CFuncVar> script = Obtain(fileName, flags);
    if (flags & kSaveImage) {
        ShellMessage("Save result to file \"" + targetName + "\"");
        SaveImage(*script, targetName);
    }
    if (flags & kWriteListing) {
        ShellMessage("DeCompile to file \"" + targetName + "\"");
        WriteListing(*script, targetName);
    }
    if (flags & kRunScript) {
        VAR_* result = nullptr;
        try {
            result = Run(*script, StartupTable);
        } catch (...) {
            // The failed run's locals are printed by the error log.
            KeepFailedScript(script);
            throw;
        }
        result->Release();
    }
}
