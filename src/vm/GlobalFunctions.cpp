// Input, Output, Include and Diap. Input and Output talk to the console
// when one is available, to a host's callbacks when those are hooked in,
// and otherwise to standard error as the stand-in for dialog boxes.
#include <cstdio>
#include <iostream>
#include <memory>

#include "compiler/CFuncVar.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"
#include "values/unitUtils.h"
#include "vm/IncludeType.h"
#include "vm/RuntimeLibrary.h"
#include "vm/RuntimeState.h"

namespace {

// A missing argument reads as a Null value (whose text is "Null").
std::string ArgumentText(GrafVarArray* args, int position) {
    if (VAR_* cell = ArgAt(args, position)) return cell->GetStr();
    TempRef null(NewNull());
    return null->GetStr();
}

void WriteTo(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

std::string ReadAnswerLine() {
    std::string line;
    if (!std::getline(std::cin, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

VAR_* AnswerValue(const std::string& answer, bool extended) {
    VAR_* cell = NewNull();
    cell->ParseLiteral(answer, extended);
    return cell;
}

}  // namespace

VAR_* InputFunction(void*, GrafVarArray* args) {
    const std::string prompt = ArgumentText(args, 0);
    if (InputHook) return AnswerValue(InputHook(prompt), true);
    if (ConsoleAvailable) {
        WriteTo(stdout, ToConsoleText(prompt) + ": ");
        std::fflush(stdout);
        return AnswerValue(FromConsoleText(ReadAnswerLine()), false);
    }
    // Without a console the prompt goes where a dialog would be shown.
    WriteTo(stderr, prompt + ": ");
    std::fflush(stderr);
    return AnswerValue(ReadAnswerLine(), false);
}

VAR_* OutputFunction(void*, GrafVarArray* args) {
    const std::string text = args ? args->Join("") : std::string();
    if (OutputHook) {
        OutputHook(text);
        return NewStr(text);
    }
    if (ConsoleAvailable) {
        const std::string converted = ToConsoleText(text);
        WriteTo(stdout, converted + "\n");
        return NewStr(converted);
    }
    WriteTo(stderr, text + "\n");  // in place of a message box
    return NewStr(text);
}

VAR_* IncludeFunction(void*, GrafVarArray* args) {
    const std::string fileName = ArgumentText(args, 0);
    struct CallNameBack {
        ~CallNameBack() { CallName.clear(); }
    } callNameBack;
    CallName = fileName;
    TempRef cell(VAR_::Create(IncludeType, true));
    const std::string text = ReadWholeFile(fileName);
    auto script = std::make_shared<CFuncVar>(fileName, text);
    cell->Data.ptr = new ScriptHandle(std::move(script));
    return cell.release();
}

VAR_* DiapFunction(void*, GrafVarArray* args) {
    VAR_* first = ArgAt(args, 0);
    VAR_* second = ArgAt(args, 1);
    int64_t from = Low32(first ? first->GetInt() : 0);
    int64_t to = Low32(second ? second->GetInt() : 0);
    const int count = args ? args->Count : 0;
    const std::string pattern = count >= 3 ? ArgumentText(args, 2) : std::string();
    const bool atEnd = count >= 4 && ArgAt(args, 3)->GetBool();
    if (to < from) std::swap(from, to);
    if (to - from + 1 > kMaxDiapCount)
        throw ScriptError("Diap: " + std::to_string(to - from + 1) + " numbers asked for, at most " +
                          std::to_string(kMaxDiapCount) + " allowed");
    TempRef array(NewArray());
    GrafVarArray* table = TableOf(array.get());
    for (int64_t i = from; i <= to; ++i) {
        std::string text = std::to_string(i);
        if (text.size() < pattern.size()) {
            const size_t missing = pattern.size() - text.size();
            text = atEnd ? text + pattern.substr(pattern.size() - missing) : pattern.substr(0, missing) + text;
        }
        table->AddCell(std::to_string(table->Count), NewStr(std::move(text)));
    }
    return array.release();
}
