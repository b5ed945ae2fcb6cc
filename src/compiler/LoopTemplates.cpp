// The element, key, counting and cursor loops. Each expands into
// assignments of hidden variables named after the loop (H, H+"O", H+"I",
// H+"K", H+"B", H+"S"; H starts with the byte 15, so a script cannot name
// them), a label H, and at the end of the body a tail that jumps back to H.
// Header expressions are compiled on their own and spliced in.
#include <cstring>
#include <string>

#include "compiler/ScriptCompiler.h"
#include "values/ScriptError.h"

namespace {

// Headers may hold loops of their own; each level compiles recursively.
constexpr int kMaxHeaderDepth = 32;

bool IsInWord(const Token* token) {
    if (!token || !token->IsWord() || token->text.size() != 2) return false;
    return (token->text[0] | 0x20) == 'i' && (token->text[1] | 0x20) == 'n';
}

}  // namespace

std::string ScriptCompiler::NewLoopName(const char* kind) {
    return "\x0f" + std::string(kind) + std::to_string(loopCounter_++);
}

void ScriptCompiler::PushLoop(std::string name, uint16_t level, std::string valueVar) {
    loops_.push_back(Loop{func_.InstructionCount(), std::move(name), level, std::move(valueVar)});
}

void ScriptCompiler::SkipOpeningParen() {
    if (TokenIsOperator(index_, '(')) ++index_;
}

// Collects header tokens from the current one up to a stop character, or
// the header's closing ")", outside nested brackets. Words are followed by
// a blank, so the text tokenizes again into the same tokens. Leaves the
// index on the stop token; `stoppedAt` is 0 when the tokens ran out.
std::string ScriptCompiler::ReadHeaderPart(const char* stops, char& stoppedAt) {
    std::string text;
    int depth = 0;
    for (; index_ < tokens_.size(); ++index_) {
        const Token& token = tokens_[index_];
        if (token.IsWord()) {
            text += token.text;
            text += ' ';
            continue;
        }
        const char c = token.character;
        if (depth == 0 && (c == ')' || std::strchr(stops, c))) {
            stoppedAt = c;
            return text;
        }
        if (c == '(' || c == '[') ++depth;
        if ((c == ')' || c == ']') && depth > 0) --depth;
        text += c;
    }
    stoppedAt = 0;
    return text;
}

void ScriptCompiler::ExpectHeaderStop(char stoppedAt, const char* expected) {
    if (stoppedAt != 0 && std::strchr(expected, stoppedAt)) return;
    if (stoppedAt == 0) throw ScriptError("loop header without its closing \")\"");
    throw ScriptError(std::string("loop header: \"") + expected[0] + "\" expected before \")\"");
}

void ScriptCompiler::EmitHeaderExpression(const std::string& text) {
    if (depth_ >= kMaxHeaderDepth) throw ScriptError("loop headers nested too deeply");
    CFuncVar header("");
    ScriptCompiler(header, depth_ + 1).Compile(text);
    // Spliced code keeps its operand texts but not its labels or block links.
    bool hasBlock = !header.Labels().empty();
    for (const Instruction& instruction : header.Code())
        hasBlock = hasBlock || instruction.opcode == opBegin;
    if (hasBlock)
        throw ScriptError("a loop header may not hold blocks, labels or loops: " + text.substr(0, 60));
    func_.AppendCode(header);
}

void ScriptCompiler::EmitAssign(const std::string& target, const std::string& headerText) {
    func_.Emit(opVariable, target);
    func_.Emit(opAssign);
    EmitHeaderExpression(headerText);
    func_.Emit(opEnd);
}

void ScriptCompiler::EmitAssignVar(const std::string& target, const std::string& source) {
    func_.Emit(opVariable, target);
    func_.Emit(opAssign);
    func_.Emit(opVariable, source);
    func_.Emit(opEnd);
}

void ScriptCompiler::EmitAssignMember(const std::string& target, const std::string& object,
                                      const char* member) {
    func_.Emit(opVariable, target);
    func_.Emit(opAssign);
    func_.Emit(opVariable, object);
    func_.Emit(opMember, member);
    func_.Emit(opEnd);
}

void ScriptCompiler::EmitAssignLiteral(const std::string& target, const char* literal) {
    func_.Emit(opVariable, target);
    func_.Emit(opAssign);
    func_.Emit(opLiteral, literal);
    func_.Emit(opEnd);
}

// each (v [, k] in collection): over the collection's keys.
void ScriptCompiler::CompileEach() {
    ++index_;
    SkipOpeningParen();
    if (!TokenIsWord(index_)) throw ScriptError("\"each\" must be followed by a loop variable");
    const std::string value = tokens_[index_].text;
    std::string name = NewLoopName("keyEach");
    std::string key = name + "K";
    if (TokenIsOperator(index_ + 1, ',')) {
        if (!TokenIsWord(index_ + 2)) throw ScriptError("\"each\": key variable expected after \",\"");
        key = tokens_[index_ + 2].text;
        index_ += 2;
    }
    index_ += 2;  // the last variable and "in"
    char stop = 0;
    const std::string collection = ReadHeaderPart(")", stop);
    ExpectHeaderStop(stop, ")");

    PushLoop(name, BlockTop(), value);
    const std::string& h = name;
    EmitAssign(h + "O", collection);
    EmitAssignMember(h, h + "O", "Keys");
    EmitAssignLiteral(h + "I", "0");
    func_.DefineLabel(h);
    // k = H[H+"I"];  v = H+"O"[k];
    func_.Emit(opVariable, key);
    func_.Emit(opAssign);
    func_.Emit(opVariable, h);
    func_.Emit(opIndex);
    func_.Emit(opVariable, h + "I");
    func_.Emit(opClose);
    func_.Emit(opEnd);
    func_.Emit(opVariable, value);
    func_.Emit(opAssign);
    func_.Emit(opVariable, h + "O");
    func_.Emit(opIndex);
    func_.Emit(opVariable, key);
    func_.Emit(opClose);
    func_.Emit(opEnd);
}

// for (v [, k] in c), for (i = start, end [, step]) or for (cursor).
void ScriptCompiler::CompileFor() {
    ++index_;
    SkipOpeningParen();
    if (!TokenIsWord(index_)) throw ScriptError("\"for\" must be followed by a loop variable or an expression");
    if (IsInWord(TokenAt(index_ + 1)) || IsInWord(TokenAt(index_ + 3)))
        CompileElementLoop(NewLoopName("each"), TokenIsOperator(index_ + 1, ','));
    else if (TokenIsOperator(index_ + 1, '='))
        CompileCountingLoop();
    else
        CompileCursorLoop();
}

void ScriptCompiler::CompileElementLoop(const std::string& name, bool keyed) {
    const std::string value = tokens_[index_].text;
    std::string key;
    if (keyed) {
        if (!TokenIsWord(index_ + 2)) throw ScriptError("\"for\": key variable expected after \",\"");
        key = tokens_[index_ + 2].text;
        index_ += 2;
    }
    index_ += 2;  // the last variable and "in"
    char stop = 0;
    const std::string collection = ReadHeaderPart(")", stop);
    ExpectHeaderStop(stop, ")");

    PushLoop(name, BlockTop(), value);
    EmitAssign(name, collection);
    func_.Emit(opVariable, name);
    func_.Emit(opFirst);
    func_.Emit(opEnd);
    func_.DefineLabel(name);
    EmitAssignMember(value, name, "Element");
    if (keyed) EmitAssignMember(key, name, "Position");
}

void ScriptCompiler::CompileCountingLoop() {
    const std::string variable = tokens_[index_].text;
    index_ += 2;  // the variable and "="
    char stop = 0;
    const std::string start = ReadHeaderPart(",", stop);
    ExpectHeaderStop(stop, ",");
    ++index_;
    const std::string end = ReadHeaderPart(",", stop);
    ExpectHeaderStop(stop, ",)");
    std::string step;
    const bool hasStep = stop == ',';
    if (hasStep) {
        ++index_;
        step = ReadHeaderPart(")", stop);
        ExpectHeaderStop(stop, ")");
    }

    const std::string h = NewLoopName("for");
    PushLoop(h, BlockTop());
    EmitAssign(h, start);
    EmitAssign(h + "B", end);
    if (hasStep)
        EmitAssign(h + "S", step);
    else
        EmitAssignLiteral(h + "S", "1");
    // Counting down from start to end: a positive step turns negative.
    // if (H > H+"B") && (H+"S" > 0) then H+"S" = - H+"S";
    func_.Emit(opIf);
    func_.Emit(opParen);
    func_.Emit(opVariable, h);
    func_.Emit(opGreater);
    func_.Emit(opVariable, h + "B");
    func_.Emit(opClose);
    func_.Emit(opAnd);
    func_.Emit(opParen);
    func_.Emit(opVariable, h + "S");
    func_.Emit(opGreater);
    func_.Emit(opLiteral, "0");
    func_.Emit(opClose);
    func_.Emit(opThen);
    func_.Emit(opVariable, h + "S");
    func_.Emit(opAssign);
    func_.Emit(opSub);
    func_.Emit(opVariable, h + "S");
    func_.Emit(opEnd);
    func_.DefineLabel(h);
    EmitAssignVar(variable, h);
}

void ScriptCompiler::CompileCursorLoop() {
    char stop = 0;
    const std::string expression = ReadHeaderPart(")", stop);
    ExpectHeaderStop(stop, ")");
    const std::string h = NewLoopName("Ifor");
    PushLoop(h, BlockTop());
    EmitAssign(h, expression);
    func_.Emit(opVariable, h);
    func_.Emit(opFirst);
    func_.Emit(opEnd);
    func_.DefineLabel(h);
}

void ScriptCompiler::CloseTemplateLoop(const Loop& innermost) {
    const Loop loop = innermost;
    loops_.pop_back();
    if (loop.name.find("keyEach") != std::string::npos)
        EmitKeyTail(loop);
    else if (loop.name.find("each") != std::string::npos || loop.name.find("Ifor") != std::string::npos)
        EmitCursorTail(loop);
    else if (loop.name.find("for") != std::string::npos)
        EmitCountingTail(loop);
}

// H+"I" += 1; if H+"I" < H.Size then goto H; H = 0; v = 0;
void ScriptCompiler::EmitKeyTail(const Loop& loop) {
    const std::string& h = loop.name;
    func_.Emit(opVariable, h + "I");
    func_.Emit(opAddAssign);
    func_.Emit(opLiteral, "1");
    func_.Emit(opEnd);
    func_.Emit(opIf);
    func_.Emit(opVariable, h + "I");
    func_.Emit(opLess);
    func_.Emit(opVariable, h);
    func_.Emit(opMember, "Size");
    func_.Emit(opThen);
    func_.Emit(opGoto, h);
    func_.Emit(opEnd);
    EmitAssignLiteral(h, "0");
    EmitAssignLiteral(loop.valueVar, "0");
}

// H .> ; if ! H.EOF then goto H; H = 0;
void ScriptCompiler::EmitCursorTail(const Loop& loop) {
    const std::string& h = loop.name;
    func_.Emit(opVariable, h);
    func_.Emit(opNext);
    func_.Emit(opEnd);
    func_.Emit(opIf);
    func_.Emit(opNot);
    func_.Emit(opVariable, h);
    func_.Emit(opMember, "EOF");
    func_.Emit(opThen);
    func_.Emit(opGoto, h);
    func_.Emit(opEnd);
    EmitAssignLiteral(h, "0");
}

// H += H+"S";
// if H+"S" < 0 then begin if H >= H+"B" then goto H; end
// else if H <= H+"B" then goto H;
void ScriptCompiler::EmitCountingTail(const Loop& loop) {
    const std::string& h = loop.name;
    func_.Emit(opVariable, h);
    func_.Emit(opAddAssign);
    func_.Emit(opVariable, h + "S");
    func_.Emit(opEnd);
    func_.Emit(opIf);
    func_.Emit(opVariable, h + "S");
    func_.Emit(opLess);
    func_.Emit(opLiteral, "0");
    func_.Emit(opThen);
    PushBlock();
    func_.Emit(opIf);
    func_.Emit(opVariable, h);
    func_.Emit(opGreaterEqual);
    func_.Emit(opVariable, h + "B");
    func_.Emit(opThen);
    func_.Emit(opGoto, h);
    func_.Emit(opEnd);
    CloseBlock();
    func_.Emit(opElse);
    func_.Emit(opIf);
    func_.Emit(opVariable, h);
    func_.Emit(opLessEqual);
    func_.Emit(opVariable, h + "B");
    func_.Emit(opThen);
    func_.Emit(opGoto, h);
    func_.Emit(opEnd);
}
