// Script texts and binary images: compiled or decoded, then run.
#include <exception>
#include <memory>
#include <string_view>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "compiler/ImageFile.h"
#include "excel/ExcelTool.h"
#include "values/scriptvar.h"
#include "vm/FailedRuns.h"
#include "vm/RuntimeState.h"
#include "vm/VirtualMachine.h"

namespace {

// Enough for every script test; small enough that an endless loop ends
// well inside the fuzzer's time-out.
constexpr uint64_t kInstructionCeiling = 200000;
// And a CPU-time ceiling for runs whose instructions are each costly (a
// large array copied by every statement): well inside the fuzzer's
// time-out even in sanitizer builds on a busy machine.
constexpr double kSecondsCeiling = 2;

}  // namespace

void RunConfined(CFuncVar& function) {
    StepLimit = kInstructionCeiling;
    StepsTaken = 0;
    StepSecondsLimit = kSecondsCeiling;
    StepClockStart = ProcessSeconds();
    try {
        TempRef result(Run(function));
        (void)result->GetStr();
    } catch (const std::exception& error) {
        ReportRefusal(error);
        // A failed run leaves its locals active for the error report.
        ActiveLocals = nullptr;
    }
    StepLimit = 0;
    function.Locals()->Clear();
    ForgetScriptState();
}

void ForgetScriptState() {
    ReleaseFailedScripts();
    Globals->Clear();
    // The workbook application lives for the whole process; the books a
    // script left open would pile up from one input to the next.
    ExcelTools().CloseAllWorkbooks();
}

int RunScriptInput(const uint8_t* data, size_t size) {
    PrepareFuzzProcess();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        CFuncVar function("fuzz", text);
        RunConfined(function);
    } catch (const std::exception& error) {
        ReportRefusal(error);  // the compiler refused the text
    }
    ClearScratchDirectory();
    return 0;
}

int RunImageInput(const uint8_t* data, size_t size) {
    PrepareFuzzProcess();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<CFuncVar> function = DecodeImage("fuzz", bytes);
        RunConfined(*function);
    } catch (const std::exception& error) {
        ReportRefusal(error);  // the loader refused the image
    }
    ClearScratchDirectory();
    return 0;
}
