// The keyword-level half of the compiler: blocks, conditions, labels and
// goto, halt, and the condition loops (while/until ... do/repeat, and the
// post-checked do ... while and repeat ... until). Loops become plain
// conditional jumps to a generated label.
#include <string>

#include "compiler/ScriptCompiler.h"
#include "values/ScriptError.h"

namespace {

// Nested blocks a function may hold; block levels are 16-bit values.
constexpr size_t kMaxBlocks = 512;

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

bool ScriptCompiler::CompileKeyword(const std::string& lowered) {
    if (lowered == "label") {
        func_.DefineLabel(NextWordOperand("label"));
    } else if (lowered == "begin") {
        PushBlock();
    } else if (lowered == "end") {
        CloseBlock();
        CheckLoopEnd();
    } else if (lowered == "\x02") {
        func_.Emit(opClose);
    } else if (lowered == "if") {
        func_.Emit(opIf);
    } else if (lowered == "elsif") {
        func_.Emit(opElse);
        func_.Emit(opIf);
    } else if (lowered == "then") {
        func_.Emit(opThen);
    } else if (lowered == "else") {
        func_.Emit(opElse);
    } else if (lowered == "halt") {
        func_.Emit(opHalt);
    } else if (lowered == "goto") {
        func_.Emit(opGoto, NextWordOperand("goto"));
    } else if (lowered == "while") {
        CompileWhile("while");
    } else if (lowered == "until") {
        // The condition is negated; its parenthesis is closed by "repeat"
        // or by the end of the loop.
        CompileWhile("until");
        func_.Emit(opNot);
        func_.Emit(opParen);
    } else if (lowered == "do") {
        CompileDo();
    } else if (lowered == "repeat") {
        CompileRepeat();
    } else if (lowered == "each") {
        CompileEach();
    } else if (lowered == "for") {
        CompileFor();
    } else {
        return false;
    }
    return true;
}

// The word after "label" or "goto" names the label; it is consumed.
std::string ScriptCompiler::NextWordOperand(const char* keyword) {
    if (!TokenIsWord(index_ + 1))
        throw ScriptError(std::string("\"") + keyword + "\" must be followed by a label name");
    ++index_;
    return tokens_[index_].text;
}

// "while" (and "until") open a condition. After the body of a "do" (or a
// "repeat") they are that loop's condition; otherwise they start a loop of
// their own whose label comes before the condition.
void ScriptCompiler::CompileWhile(const std::string& kind) {
    const char* postChecked = kind == "while" ? "do" : "repeat";
    if (!Contains(loops_.back().name, postChecked)) {
        std::string name = NewLoopName(kind.c_str());
        PushLoop(name, uint16_t(BlockTop() + 1));
        func_.DefineLabel(std::move(name));
    }
    func_.Emit(opIf);
    conditionOpen_ = true;
}

void ScriptCompiler::CompileDo() {
    if (conditionOpen_) {
        func_.Emit(opThen);
        PushBlock();  // the loop body
    } else {
        std::string name = NewLoopName("do");
        PushLoop(name, 0xFFFF);
        func_.DefineLabel(std::move(name));
    }
    conditionOpen_ = false;
}

void ScriptCompiler::CompileRepeat() {
    if (conditionOpen_) {
        func_.Emit(opClose);  // closes the "(" that "until" opened
        func_.Emit(opThen);
        PushBlock();
    } else {
        std::string name = NewLoopName("repeat");
        PushLoop(name, 0xFFFF);
        func_.DefineLabel(std::move(name));
    }
    conditionOpen_ = false;
}

void ScriptCompiler::PushBlock() {
    if (blocks_.size() >= kMaxBlocks)
        throw ScriptError("too many nested blocks (at most 512)");
    blocks_.push_back(func_.InstructionCount());
    func_.Emit(opBegin);
}

// The opBegin learns the index of its opBlockEnd, which comes next.
void ScriptCompiler::CloseBlock() {
    if (blocks_.empty()) throw ScriptError("\"end\" without an open block");
    func_.SetOperand(blocks_.back(), std::to_string(func_.InstructionCount()));
    blocks_.pop_back();
    func_.Emit(opBlockEnd);
}

// Post-checked loops end at their condition wherever they stand; the block
// level does not concern them.
bool ScriptCompiler::IsPostChecked(const Loop& loop) const {
    return Contains(loop.name, "do") || Contains(loop.name, "repeat");
}

// Runs after every source ";" and every block end. Only the innermost loop
// is examined, and at most one loop closes.
void ScriptCompiler::CheckLoopEnd() {
    const Loop& loop = loops_.back();
    if (!IsPostChecked(loop)) {
        if (loop.level != BlockTop() || loops_.size() == 1) return;
        if (Contains(loop.name, "while") || Contains(loop.name, "until"))
            CloseConditionLoop(false);
        else
            CloseTemplateLoop(loop);
        return;
    }
    if (!conditionOpen_) return;
    if (Contains(loop.name, "do")) {
        CloseConditionLoop(true);
    } else {
        func_.Emit(opClose);  // closes the "(" that "until" opened
        CloseConditionLoop(true);
    }
}

// Pre-checked: jump back at the end of the body block and close it.
// Post-checked: the condition just ended; jump back when it holds.
void ScriptCompiler::CloseConditionLoop(bool postChecked) {
    const std::string name = loops_.back().name;
    loops_.pop_back();
    if (postChecked) {
        func_.Emit(opThen);
        func_.Emit(opGoto, name);
        func_.Emit(opEnd);
        conditionOpen_ = false;
        return;
    }
    func_.Emit(opGoto, name);
    func_.Emit(opEnd);
    CloseBlock();
    func_.Emit(opEnd);
}
