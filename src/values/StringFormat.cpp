// Escape expansion of texts, format specifications, and the string call
// that formats a text with the call's arguments.
#include <optional>

#include "values/StringType.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

std::string (*EmbeddedCodeHook)(const std::string& code) = nullptr;

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A whole text of decimal digits; nothing for an empty or invalid text.
std::optional<uint64_t> DecimalNumber(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (!IsDecimalDigit(c)) return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    return value;
}

uint8_t Number8(const std::string& text) { return uint8_t(DecimalNumber(text).value_or(0) & 0xFF); }

// One expansion: the text being read and, for a string call, the
// argument table and the running argument number of the specifications.
class Expander {
public:
    // With `formatting`, specifications take their values from `args` (a
    // missing table or argument formats as Null); without, they are dropped.
    Expander(const std::string& text, bool formatting, GrafVarArray* args)
        : text_(text), formatting_(formatting), args_(args) {}

    std::string Run() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '\\')
                Escape();
            else if (c == '#')
                EmbeddedCode();
            else if (c == '%')
                FormatSpecification();
            else
                out_ += c;
        }
        return std::move(out_);
    }

private:
    void Escape() {
        if (pos_ >= text_.size()) return;  // a trailing backslash is dropped
        const char c = text_[pos_++];
        switch (c) {
        case 'n': case 'N': out_ += '\r'; return;  // deliberately the reverse of C
        case 'r': case 'R': out_ += '\n'; return;
        case 't': case 'T': out_ += '\t'; return;
        case 'x': case 'X': HexEscape(); return;
        default: break;
        }
        if (IsDecimalDigit(c)) {
            unsigned value = unsigned(c - '0');
            for (int i = 0; i < 2 && pos_ < text_.size() && IsDecimalDigit(text_[pos_]); ++i)
                value = value * 10 + unsigned(text_[pos_++] - '0');
            out_ += char(value & 0xFF);
            return;
        }
        out_ += c;
    }

    void HexEscape() {
        unsigned value = 0;
        for (int i = 0; i < 2 && pos_ < text_.size() && HexValue(text_[pos_]) >= 0; ++i)
            value = value * 16 + unsigned(HexValue(text_[pos_++]));
        out_ += char(value);
    }

    // "#{code}" (to the end of the text when "}" is missing); a lone "#" is dropped.
    void EmbeddedCode() {
        if (pos_ >= text_.size() || text_[pos_] != '{') return;
        const size_t close = text_.find('}', pos_ + 1);
        const std::string code = text_.substr(pos_ + 1, close == std::string::npos ? std::string::npos : close - pos_ - 1);
        pos_ = close == std::string::npos ? text_.size() : close + 1;
        if (EmbeddedCodeHook) out_ += EmbeddedCodeHook(code);
    }

    // "%" body kind, the kind being the first of "i", "f", "s", "b".
    void FormatSpecification() {
        const size_t kindAt = text_.find_first_of("ifsb", pos_);
        const std::string body = text_.substr(pos_, kindAt == std::string::npos ? std::string::npos : kindAt - pos_);
        const char kind = kindAt == std::string::npos ? '\0' : text_[kindAt];
        pos_ = kindAt == std::string::npos ? text_.size() : kindAt + 1;
        if (formatting_) out_ += Formatted(body, kind);
    }

    std::string Formatted(std::string body, char kind) {
        const size_t colon = body.find(':');
        if (colon != std::string::npos) {
            if (auto number = DecimalNumber(body.substr(0, colon))) argNumber_ = uint16_t(*number & 0xFFFF);
            body.erase(0, colon + 1);
        } else {
            ++argNumber_;
        }
        const bool leftAlign = !body.empty() && body[0] == '-';
        if (leftAlign) body.erase(0, 1);
        const size_t dot = body.find('.');
        const uint8_t width = Number8(body.substr(0, dot));
        const uint8_t precision = dot == std::string::npos ? 0 : Number8(body.substr(dot + 1));

        std::string text = ArgumentText(kind, precision);
        if (text.size() < width) {
            const std::string padding(width - text.size(), ' ');
            text = leftAlign ? text + padding : padding + text;
        }
        return text;
    }

    std::string ArgumentText(char kind, uint8_t precision) {
        VAR_* given = argNumber_ >= 1 ? ArgAt(args_, argNumber_ - 1) : nullptr;
        TempRef missing(given ? nullptr : NewNull());
        VAR_* arg = given ? given : missing.get();
        if (kind == 'f') return FormatFixed(0, precision, arg->GetFloat());
        if (kind == 'b') return arg->GetBool() ? "True" : "False";
        return arg->GetStr();
    }

    const std::string& text_;
    bool formatting_;
    GrafVarArray* args_;
    size_t pos_ = 0;
    uint16_t argNumber_ = 0;
    std::string out_;
};

// Quotes around the whole text are removed (only from a text of at least
// two characters, so a lone quote stays).
std::string WithoutOuterQuotes(const std::string& text) {
    if (text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\''))
        return text.substr(1, text.size() - 2);
    return text;
}

std::string ExpandFormatted(const std::string& text, bool formatting, GrafVarArray* args) {
    const std::string inner = WithoutOuterQuotes(text);
    return Expander(inner, formatting, args).Run();
}

}  // namespace

std::string ExpandText(const std::string& text, GrafVarArray* args) { return ExpandFormatted(text, args != nullptr, args); }

std::string UnescapeText(const std::string& text) { return ExpandFormatted(text, false, nullptr); }

// Calling a string formats its text; the receiver is not changed.
VAR_* String_::CallArgs(GrafVarArray* args) {
    // Embedded code run by the expansion binds other strings as the
    // current cell: keep the receiver by hand.
    VAR_* self = Cur;
    const std::string expanded = ExpandFormatted(Text(), true, args);
    VAR_* result = self->Copy();
    result->SetStr(expanded);
    return result;
}
