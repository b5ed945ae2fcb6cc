// String operators. An Int right operand is a position or a count; any
// other right operand is used by its text.
#include <algorithm>

#include "values/StringType.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace {

// A count given by a script integer: low 32 bits, a negative count is 0.
size_t CountOf(VAR_* arg) { return size_t(std::max<int32_t>(Low32(arg->GetInt()), 0)); }

// Repeat and padding counts are 16-bit unsigned (so -1 means 65535).
uint16_t Count16(VAR_* arg) { return uint16_t(uint64_t(arg->GetInt()) & 0xFFFF); }

int64_t FirstPos(const std::string& text, const std::string& part) {
    if (part.empty()) return 0;
    const size_t found = text.find(part);
    return found == std::string::npos ? 0 : int64_t(found) + 1;
}

// Removes the first occurrence, or every one, of `part`; letter case is
// ignored by comparing the upper-case forms (which keep every position).
void RemoveText(std::string& text, const std::string& part, bool all, bool ignoreCase) {
    if (part.empty()) return;
    const std::string needle = ignoreCase ? Upper1251(part) : part;
    std::string haystack = ignoreCase ? Upper1251(text) : text;
    std::string result;
    size_t start = 0;
    for (size_t found; (found = haystack.find(needle, start)) != std::string::npos;) {
        result.append(text, start, found - start);
        start = found + needle.size();
        if (!all) break;
    }
    result.append(text, start, std::string::npos);
    text = std::move(result);
}

}  // namespace

std::string SwapCase1251(std::string text) {
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 192 && b <= 223))
            c = char(b + 32);
        else if ((b >= 'a' && b <= 'z') || b >= 224)
            c = char(b - 32);
    }
    return text;
}

VAR_* String_::Add(VAR_* arg) {
    std::string addition = arg->GetStr();  // an Int's text is its decimal form
    CheckTextLength(Text().size() + addition.size());
    Text() += addition;
    return Cur;
}

VAR_* String_::Sub(VAR_* arg) {
    if (arg->Is(TypeKind::Int)) {
        const int64_t p = Position(arg);
        if (p >= 1 && p <= int64_t(Text().size())) Text().erase(size_t(p - 1), 1);
    } else {
        RemoveText(Text(), arg->GetStr(), false, false);
    }
    return Cur;
}

VAR_* String_::Mul(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        const uint16_t count = Count16(arg);
        CheckTextLength(Text().size() * count);
        Text() = RepeatText(Text(), count);
        return self;
    }
    self->MakeInt(FirstPos(Text(), arg->GetStr()));
    return self;
}

VAR_* String_::Divide(VAR_* arg) {
    if (arg->Is(TypeKind::Int))
        Text().erase(0, std::min(CountOf(arg), Text().size()));
    else
        RemoveText(Text(), arg->GetStr(), true, true);
    return Cur;
}

VAR_* String_::IntDiv(VAR_* arg) {
    if (arg->Is(TypeKind::Int)) {
        std::string& text = Text();
        text.resize(text.size() - std::min(CountOf(arg), text.size()));
    } else {
        RemoveText(Text(), arg->GetStr(), true, false);
    }
    return Cur;
}

VAR_* String_::Mod(VAR_* arg) {
    if (arg->Is(TypeKind::Int)) {
        std::string& text = Text();
        text.resize(std::min(CountOf(arg), text.size()));
    } else {
        RemoveText(Text(), arg->GetStr(), false, true);
    }
    return Cur;
}

VAR_* String_::Shl(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        const uint16_t count = Count16(arg);
        CheckTextLength(Text().size() + count);
        Text().insert(0, count, ' ');
        return self;
    }
    self->MakeInt(FirstPos(Text(), arg->GetStr()));
    return self;
}

VAR_* String_::Shr(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        const uint16_t count = Count16(arg);
        CheckTextLength(Text().size() + count);
        Text().append(count, ' ');
        return self;
    }
    self->MakeInt(LastPos(arg->GetStr(), Text()));
    return self;
}

VAR_* String_::BitAnd(VAR_* arg) {
    std::string& text = Text();
    if (arg->Is(TypeKind::Int)) {
        const size_t keep = std::min(CountOf(arg), text.size());
        text.erase(0, text.size() - keep);
        return Cur;
    }
    const std::string t = arg->GetStr();
    if (text.size() < t.size()) text += t.substr(text.size());
    return Cur;
}

VAR_* String_::BitOr(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        self->MakeBool(int64_t(Text().size()) == arg->GetInt());
        return self;
    }
    const std::string t = arg->GetStr();
    if (Text().size() < t.size()) Text() = t;
    return self;
}

VAR_* String_::BitXor(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        self->MakeBool(int64_t(Text().size()) != arg->GetInt());
        return self;
    }
    const std::string t = arg->GetStr();
    if (t.size() < Text().size()) Text() = t;
    return self;
}

// Unary operators.

// Adds 1 to the text read as a big-endian base-256 number.
VAR_* String_::Inc() {
    std::string& text = Text();
    if (text.empty()) return Cur;
    for (size_t i = text.size(); i-- > 0;) {
        text[i] = char(static_cast<unsigned char>(text[i]) + 1);
        if (text[i] != '\0') return Cur;  // no carry
    }
    text.insert(text.begin(), '\x01');  // carry out of the first byte
    return Cur;
}

// Subtracts 1; a borrow out of the first byte deletes that byte.
VAR_* String_::Dec() {
    std::string& text = Text();
    if (text.empty()) return Cur;
    for (size_t i = text.size(); i-- > 0;) {
        const bool borrow = text[i] == '\0';
        text[i] = char(static_cast<unsigned char>(text[i]) - 1);
        if (!borrow) return Cur;
    }
    text.erase(0, 1);
    return Cur;
}

VAR_* String_::Neg() {
    std::reverse(Text().begin(), Text().end());
    return Cur;
}

VAR_* String_::Not() {
    Text() = SwapCase1251(Text());
    return Cur;
}

VAR_* String_::BitNot() {
    std::string swapped = SwapCase1251(Text());
    std::reverse(swapped.begin(), swapped.end());
    Text() = std::move(swapped);
    return Cur;
}
