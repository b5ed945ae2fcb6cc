// The token-level half of the compiler: one instruction per operand and
// operator, in source order. Operators are assembled from adjacent operator
// characters in the pending text; numbers the tokenizer split at "." or at
// a sign are joined again.
#include <string>

#include "compiler/ScriptCompiler.h"
#include "values/literal.h"

namespace {

bool IsQuotedString(const std::string& word) {
    return word.size() >= 2 && (word.front() == '"' || word.front() == '\'') &&
           word.back() == word.front();
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The word that stands for ")" and "]" in the keyword table.
const std::string kCloseWord = "\x02";

}  // namespace

void ScriptCompiler::CompileToken() {
    const Token& token = tokens_[index_];
    if (token.IsWord())
        CompileWordToken(token, true);
    else
        CompileOperatorToken(token.character);
}

// `isName` is false for the words that stand in for brackets and braces:
// those never serve as a member name after ".".
void ScriptCompiler::CompileWordToken(const Token& token, bool isName) {
    if (!pending_.empty()) {
        const bool memberName = pending_ == "." && isName;
        EmitPending(isName);
        if (memberName) return;  // the word was consumed as the member name
    }
    const std::string word = token.text;
    switch (ClassifyLiteral(word, true)) {
        case LiteralClass::Int:
            CompileNumber(word);
            break;
        case LiteralClass::String:
            if (IsQuotedString(word))
                func_.Emit(opString, word);
            else if (!CompileKeyword(LowerAscii(word)))
                func_.Emit(opVariable, word);
            break;
        default:  // float, boolean
            func_.Emit(opLiteral, word);
            break;
    }
    ++index_;
}

// An integer word may continue as a float through "+", "-" or "." and the
// next word: 1 . 5 e - 3 is one literal, while 1 + 2 stays three
// instructions and 5 . x stays a literal and a member.
void ScriptCompiler::CompileNumber(const std::string& word) {
    std::string literal = word;
    for (;;) {
        const Token* sign = TokenAt(index_ + 1);
        if (!sign || !(sign->IsOperator('+') || sign->IsOperator('-') || sign->IsOperator('.')))
            break;
        if (!TokenIsWord(index_ + 2)) break;
        std::string joined = literal + sign->character + tokens_[index_ + 2].text;
        if (ClassifyLiteral(joined, true) != LiteralClass::Float) break;
        literal = std::move(joined);
        index_ += 2;
    }
    func_.Emit(opLiteral, literal);
}

void ScriptCompiler::CompileOperatorToken(char c) {
    if (c == ';' && !pending_.empty() && pending_ != ";")
        EmitPending(false);
    else if (c == '(')
        EmitPending(false);

    if (c == ')' || c == ']' || c == '{' || c == '}') {
        const Token word{c == '{' ? "begin" : c == '}' ? "end" : kCloseWord, 0, false};
        CompileWordToken(word, false);
        return;
    }
    if (MustEmitPendingBefore(c)) EmitPending(false);

    if (c == ';') ++pendingSemicolons_;
    // A run of ";" is one statement end; only the count grows.
    if (!(c == ';' && pending_ == ";")) pending_ += c;

    // "=-" and "(-" are two operators: the second one is a prefix minus.
    if (TokenIsOperator(index_ + 1, '-')) EmitPending(false);
    ++index_;
}

bool ScriptCompiler::MustEmitPendingBefore(char c) const {
    const std::string& p = pending_;
    if (p.empty()) return false;
    if (p.find('=') != std::string::npos && c != '=') return true;
    if (p == "(" || p == "[" || p == ":[" || p == ",") return true;
    if (p != ":" && c == '[') return true;
    // A statement end never joins the operator after it (";!x" is ";" then "!").
    return p == ";" && c != ';';
}

// Emits the pending operator text and clears it. A text the language does
// not know is dropped. "." takes the current word as the member name when
// `beforeName`; a "." followed by no name is dropped.
void ScriptCompiler::EmitPending(bool beforeName) {
    if (pending_.empty()) return;
    std::string text;
    text.swap(pending_);
    if (text == ";") {
        EmitStatementEnd();
    } else if (text == ".") {
        if (beforeName) {
            func_.Emit(opMember, tokens_[index_].text);
            ++index_;
        }
    } else if (const int code = OperatorCode(text); code >= 0) {
        func_.Emit(uint16_t(code));
    }
}

// Every source ";" counts, so the emitted statement end carries the number
// of the last ";" of a run.
void ScriptCompiler::EmitStatementEnd() {
    statementCount_ += uint64_t(pendingSemicolons_);
    pendingSemicolons_ = 0;
    func_.Emit(opEnd, std::to_string(statementCount_));
    CheckLoopEnd();
}

bool ScriptCompiler::TokenIsWord(size_t index) const {
    const Token* token = TokenAt(index);
    return token && token->IsWord();
}

bool ScriptCompiler::TokenIsOperator(size_t index, char c) const {
    const Token* token = TokenAt(index);
    return token && token->IsOperator(c);
}
