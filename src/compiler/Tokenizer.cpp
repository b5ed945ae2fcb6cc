#include "compiler/Tokenizer.h"

#include <cstdint>

char TokenDelimiter = 0;

namespace {

bool IsBlank(char c) {
    return c == 8 || c == 9 || c == 10 || c == 13 || c == ' ';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

enum class Comment { None, Line, Block };

// One call of the reader: the scan state over the text.
class TokenScan {
public:
    TokenScan(std::string_view text, size_t& position, bool fileNameMode)
        : text_(text), position_(position), fileNameMode_(fileNameMode) {}

    std::string Run(bool& endedInString);

private:
    // Each step either consumes the character (returns false) or finishes
    // the word (returns true after setting the position).
    bool StepComment(size_t i);
    bool StepBlank(size_t i);
    bool StepOperator(size_t i);
    bool StepQuote(size_t i);
    bool Finish(size_t nextPosition, char delimiter);
    void Add(char c) {
        word_ += c;
        started_ = true;
    }

    std::string_view text_;
    size_t& position_;
    bool fileNameMode_;
    std::string word_;
    bool started_ = false;
    char quote_ = 0;  // the quote of the open string, 0 outside strings
    Comment comment_ = Comment::None;
    size_t commentStart_ = 0;  // index of the '#' that opened the comment
};

std::string TokenScan::Run(bool& endedInString) {
    for (size_t i = position_ == 0 ? 0 : position_ - 1; i < text_.size(); ++i) {
        const char c = text_[i];
        if (comment_ != Comment::None) {
            StepComment(i);
            continue;
        }
        if (IsBlank(c)) {
            if (StepBlank(i)) return word_;
        } else if (IsOperatorChar(c)) {
            if (StepOperator(i)) return word_;
        } else if (IsQuote(c)) {
            if (StepQuote(i)) return word_;
        } else if (c == '#' && quote_ == 0 && !fileNameMode_) {
            comment_ = Comment::Line;
            commentStart_ = i;
        } else {
            Add(c);
        }
    }
    position_ = text_.size() + 1;
    endedInString = quote_ != 0;
    return word_;
}

bool TokenScan::StepComment(size_t i) {
    const char c = text_[i];
    if (comment_ == Comment::Line) {
        // "#=" opens a block comment instead; the line end closes a line
        // comment and is swallowed with it.
        if (i == commentStart_ + 1 && c == '=')
            comment_ = Comment::Block;
        else if (c == '\n' || c == '\r')
            comment_ = Comment::None;
    } else if (c == '#' && text_[i - 1] == '=') {
        comment_ = Comment::None;
    }
    return false;
}

bool TokenScan::StepBlank(size_t i) {
    if (quote_ != 0) {
        Add(text_[i]);
        return false;
    }
    if (!started_) return false;
    return Finish(i + 2, ' ');
}

bool TokenScan::StepOperator(size_t i) {
    if (quote_ != 0 || fileNameMode_) {
        Add(text_[i]);
        return false;
    }
    return Finish(i + 2, text_[i]);
}

bool TokenScan::StepQuote(size_t i) {
    const char c = text_[i];
    if (quote_ != 0 && quote_ != c) {  // the other kind of quote inside a string
        Add(c);
        return false;
    }
    if (quote_ == c) {
        Add(c);
        if (i > 0 && text_[i - 1] == '\\') return false;  // escaped: the string goes on
        quote_ = 0;
        return Finish(i + 2, 0);
    }
    if (started_) return Finish(i + 1, 0);  // the quote begins the next word
    Add(c);
    quote_ = c;
    return false;
}

bool TokenScan::Finish(size_t nextPosition, char delimiter) {
    position_ = nextPosition;
    TokenDelimiter = delimiter;
    return true;
}

std::string ReadTokenChecked(std::string_view text, size_t& position, bool fileNameMode,
                             bool& endedInString) {
    TokenDelimiter = 0;
    endedInString = false;
    return TokenScan(text, position, fileNameMode).Run(endedInString);
}

}  // namespace

bool IsOperatorChar(char c) {
    switch (c) {
        case '!': case '%': case '&': case '(': case ')': case '*': case '+': case ',':
        case '-': case '.': case '/': case ':': case ';': case '<': case '=': case '>':
        case '?': case '[': case ']': case '^': case '{': case '|': case '}': case '~':
            return true;
        default:
            return false;
    }
}

std::string ReadToken(std::string_view text, size_t& position, bool fileNameMode) {
    bool endedInString = false;
    return ReadTokenChecked(text, position, fileNameMode, endedInString);
}

std::string ReadToken(std::string_view text, int& position, bool fileNameMode) {
    size_t wide = position < 1 ? 1 : size_t(position);
    std::string word = ReadToken(text, wide, fileNameMode);
    position = wide > size_t(INT32_MAX) ? INT32_MAX : int(wide);
    return word;
}

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    size_t position = 1;
    while (position <= text.size()) {
        bool endedInString = false;
        std::string word = ReadTokenChecked(text, position, false, endedInString);
        if (!word.empty()) tokens.push_back(Token{std::move(word), 0, endedInString});
        if (IsOperatorChar(TokenDelimiter)) tokens.push_back(Token{{}, TokenDelimiter, false});
    }
    return tokens;
}
