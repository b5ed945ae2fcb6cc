// The text helpers, driven from one input: the whole input as a string
// literal (escapes, format specifications, literal classes), and its first
// bytes as the arguments of the fixed-point formatter.
#include <cstring>
#include <exception>
#include <string>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "values/literal.h"
#include "values/scriptvar.h"
#include "values/unitUtils.h"
#include "vm/VirtualMachine.h"

namespace {

void FormatFromBytes(const uint8_t* data, size_t size) {
    // Byte 0: width, byte 1: decimals (both signed), bytes 2..9: a double.
    if (size < 10) return;
    double x = 0;
    std::memcpy(&x, data + 2, sizeof x);
    (void)FormatFixed(int8_t(data[0]), int8_t(data[1]), x);
}

// The text called as a string with a few arguments, so that its format
// specifications take values of every kind.
void CallAsString(const std::string& text) {
    GrafVarArray args;
    args.AddCell("0", NewFloat(3.14159));
    args.AddCell("1", NewStr("x"));
    args.AddCell("2", NewInt(-42));
    args.AddCell("3", NewBool(true));
    TempRef receiver(NewStr(text));
    TempRef result(receiver->CallArgs(&args));
    (void)result->GetStr();
}

}  // namespace

int RunTextInput(const uint8_t* data, size_t size) {
    PrepareFuzzProcess();
    const std::string text(reinterpret_cast<const char*>(data), size);
    FormatFromBytes(data, size);
    // Embedded code sections run as scripts: they get the same ceiling.
    StepLimit = 200000;
    StepsTaken = 0;
    StepSecondsLimit = 2;
    StepClockStart = ProcessSeconds();
    try {
        (void)UnescapeText(text);
        CallAsString(text);
    } catch (const std::exception&) {
        // Embedded code that failed.
    }
    StepLimit = 0;
    // Embedded code may set "$" globals: a text that doubles one would
    // grow it from one input to the next.
    ForgetScriptState();
    ClearScratchDirectory();
    for (bool extended : {false, true}) {
        (void)ClassifyLiteral(text, extended);
        TempRef literal(NewLiteral(text, extended));
        (void)literal->GetStr();
    }
    return 0;
}
