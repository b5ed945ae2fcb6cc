// The compiler's working state for one script text. Its methods are split
// by concern: expression level (ExpressionCompiler.cpp), keywords, blocks and
// conditions (StatementCompiler.cpp), loop templates and their tails
// (LoopTemplates.cpp), the driver and the end of compilation
// (ScriptCompiler.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/CFuncVar.h"
#include "compiler/Tokenizer.h"

class ScriptCompiler {
public:
    // `depth` counts the loop headers being compiled around this text.
    ScriptCompiler(CFuncVar& func, int depth) : func_(func), depth_(depth) {}
    void Compile(std::string_view text);

private:
    // A loop being compiled. Post-checked loops (do, repeat) end at their
    // condition; all others end when the block level drops back to `level`.
    struct Loop {
        int32_t position = 0;
        std::string name;       // H: "\x0f" + kind + number; also its label
        uint16_t level = 0;     // block top at which the body ends
        std::string valueVar;   // element and key loops: v, reset at the end
    };

    // --- expression level ---
    void CompileToken();
    void CompileWordToken(const Token& token, bool isName);
    void CompileOperatorToken(char c);
    void CompileNumber(const std::string& word);
    bool MustEmitPendingBefore(char c) const;
    void EmitPending(bool beforeName);
    void EmitStatementEnd();

    // --- keywords, blocks, conditions ---
    bool CompileKeyword(const std::string& lowered);
    void CompileWhile(const std::string& kind);
    void CompileDo();
    void CompileRepeat();
    void PushBlock();
    void CloseBlock();
    std::string NextWordOperand(const char* keyword);
    void CheckLoopEnd();
    bool IsPostChecked(const Loop& loop) const;
    void CloseConditionLoop(bool negated);
    uint16_t BlockTop() const { return uint16_t(blocks_.size() - 1); }

    // --- loop templates ---
    std::string NewLoopName(const char* kind);
    void PushLoop(std::string name, uint16_t level, std::string valueVar = {});
    void CompileEach();
    void CompileFor();
    void CompileElementLoop(const std::string& name, bool keyed);
    void CompileCountingLoop();
    void CompileCursorLoop();
    void SkipOpeningParen();
    std::string ReadHeaderPart(const char* stops, char& stoppedAt);
    void ExpectHeaderStop(char stoppedAt, const char* expected);
    void EmitHeaderExpression(const std::string& text);
    void EmitAssign(const std::string& target, const std::string& headerText);
    void EmitAssignVar(const std::string& target, const std::string& source);
    void EmitAssignMember(const std::string& target, const std::string& object,
                          const char* member);
    void EmitAssignLiteral(const std::string& target, const char* literal);
    void EmitCursorTail(const Loop& loop);
    void EmitKeyTail(const Loop& loop);
    void EmitCountingTail(const Loop& loop);
    void CloseTemplateLoop(const Loop& loop);

    // --- driver ---
    void FinishCompilation();
    void ReportUnclosed() const;
    const Token* TokenAt(size_t index) const {
        return index < tokens_.size() ? &tokens_[index] : nullptr;
    }
    bool TokenIsWord(size_t index) const;
    bool TokenIsOperator(size_t index, char c) const;

    CFuncVar& func_;
    int depth_;
    std::vector<Token> tokens_;
    size_t index_ = 0;
    std::string pending_;          // operator characters not yet emitted
    int pendingSemicolons_ = 0;    // source ";" gathered in pending_
    uint64_t statementCount_ = 0;
    std::vector<int32_t> blocks_;  // positions of the open opBegin
    std::vector<Loop> loops_;      // innermost last; [0] is a sentinel
    uint32_t loopCounter_ = 0;
    bool conditionOpen_ = false;
};
