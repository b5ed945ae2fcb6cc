// The compiler's driver: tokenize, walk the tokens, and at the end report
// what the text left open and close its blocks.
#include "compiler/ScriptCompiler.h"

#include <cstdio>
#include <string>

#include "compiler/Compiler.h"
#include "values/ScriptError.h"
#include "values/codepage.h"

bool ConsoleAvailable = true;

namespace {

// End-of-compilation warnings (Windows-1251).
constexpr const char* kConditionCut =
    "\xd6\xe8\xea\xeb \xe1\xfb\xeb \xee\xe1\xee\xf0\xe2\xe0\xed \xe1\xe5\xe7 "
    "\xee\xea\xee\xed\xf7\xe0\xed\xe8\xff \xee\xef\xe8\xf1\xe0\xed\xe8\xff "
    "\xf3\xf1\xeb\xee\xe2\xe8\xff";
constexpr const char* kLoopsUnclosed =
    "\xcd\xe5 \xe2\xf1\xe5 \xf6\xe8\xea\xeb\xfb \xe8\xec\xe5\xfe\xf2 \xea\xee\xed\xe5\xf6 "
    "\xee\xef\xe8\xf1\xe0\xed\xe8\xff (\xea\xee\xeb-\xe2\xee: ";
constexpr const char* kBlocksUnclosed =
    "\xcd\xe5\xea\xee\xf2\xee\xf0\xfb\xe5 \xe1\xeb\xee\xea\xe8 \xe1\xfb\xeb\xe8 "
    "\xee\xef\xe8\xf1\xe0\xed\xfb \xe1\xe5\xe7 \xee\xef\xf0\xe5\xe4\xe5\xeb\xe5\xed\xe8\xff "
    "\xe8\xf5 \xea\xee\xed\xf6\xe0";
constexpr const char* kBlocksClosed =
    "\xc0\xe2\xf2\xee\xec\xe0\xf2\xe8\xf7\xe5\xf1\xea\xee\xe5 \xee\xef\xe8\xf1\xe0\xed\xe8\xe5 "
    "\xea\xee\xed\xf6\xe0 \xe2\xf1\xe5\xf5 \xe1\xeb\xee\xea\xee\xe2 "
    "(\xea\xee\xeb-\xe2\xee \xe2\xf1\xf2\xe0\xe2\xee\xea: ";

// The messages carry their own ">> " and go straight to standard output,
// so batch runs show them too.
void WriteConsoleLine(const std::string& line) {
    const std::string text = ToConsoleText(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

void CompileScript(CFuncVar& func, std::string_view text) {
    ScriptCompiler(func, 0).Compile(text);
}

void ScriptCompiler::Compile(std::string_view text) {
    func_.ResetImage();
    tokens_ = Tokenize(text);
    for (const Token& token : tokens_)
        if (token.openString)
            throw ScriptError("string not closed: " + token.text.substr(0, 40));
    PushLoop(NewLoopName("\x01\x02\x03\x04\x05"), 0xFFFF);  // the sentinel
    while (index_ < tokens_.size()) CompileToken();
    FinishCompilation();
}

void ScriptCompiler::FinishCompilation() {
    EmitPending(false);
    ReportUnclosed();
    while (!blocks_.empty()) CloseBlock();
    func_.Emit(opHalt);
}

void ScriptCompiler::ReportUnclosed() const {
    if (conditionOpen_ && ConsoleAvailable) WriteConsoleLine(std::string(">> ERROR: ") + kConditionCut);
    if (loops_.size() > 1)
        WriteConsoleLine(std::string(">> ERROR: ") + kLoopsUnclosed + std::to_string(loops_.size() - 1) + ")");
    if (!blocks_.empty() && ConsoleAvailable) {
        WriteConsoleLine(std::string(">> ERROR: ") + kBlocksUnclosed);
        WriteConsoleLine(std::string(">> ") + kBlocksClosed + std::to_string(blocks_.size()) + ")");
    }
}
