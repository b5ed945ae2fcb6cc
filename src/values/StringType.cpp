// String: conversions, indexing, ranges, comparisons and iteration.
#include "values/StringType.h"

#include <algorithm>

#include "values/TypeHelpers.h"
#include "values/floattext.h"
#include "values/unitUtils.h"

namespace {

// 1-based position of the first occurrence; 0 when absent or empty.
int64_t FirstPos(const std::string& text, const std::string& part) {
    if (part.empty()) return 0;
    const size_t found = text.find(part);
    return found == std::string::npos ? 0 : int64_t(found) + 1;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

String_::String_() { Kind = TypeKind::String; }

std::string& String_::Text() { return *static_cast<std::string*>(Cur->Data.ptr); }

int64_t String_::Position(VAR_* key) {
    const int64_t length = int64_t(Text().size());
    return WrapNegative(Low32(key->GetInt()), length + 1);
}

CellData String_::NewData() { return CellData{new std::string}; }
std::string String_::GetTypeName() { return "String"; }

void String_::FreeData(CellData& data) {
    delete static_cast<std::string*>(data.ptr);
    data.ptr = nullptr;
}

void String_::CopyData(const CellData& src, CellData& dst) {
    *static_cast<std::string*>(dst.ptr) = *static_cast<const std::string*>(src.ptr);
}

void String_::SetCallName() {
    CallOwner.clear();
    CallName = "String.Format";
}

void String_::Adopt(Type_* previous) {
    const std::string text = previous->GetStr();
    Type_::Adopt(previous);
    SetStr(text);
}

std::string String_::GetStr() { return Text(); }
void String_::SetStr(const std::string& text) { Text() = text; }

int64_t String_::GetInt() {
    int64_t value = 0;
    return ParseScriptInteger(Text(), true, value) ? value : 0;
}

long double String_::GetFloat() {
    long double value = 0;
    return ParseFloatComma(Text(), value) ? value : 0;
}

bool String_::GetBool() { return !Text().empty(); }
Variant String_::GetVariant() { return Variant::FromStr(Text()); }

void String_::SetBool(bool value) {
    if (!value) Text().clear();
}

void String_::SetInt(int64_t value) { Text() = std::to_string(value); }
void String_::SetFloat(double value) { Text() = FloatText(value); }

bool String_::IsNull() { return Text().empty() || Text() == kNullMarker; }

bool String_::IsEmpty() {
    const std::string& text = Text();
    return std::all_of(text.begin(), text.end(), IsBlankOrControl);
}

int32_t String_::Size() { return int32_t(std::min<size_t>(Text().size(), INT32_MAX)); }

// Indexing.

VAR_* String_::GetIndex(VAR_* key) {
    const std::string& text = Text();
    if (key->Is(TypeKind::String)) return NewInt(FirstPos(text, key->GetStr()));
    const int64_t p = Position(key);
    if (p == 0) return NewInt(int64_t(text.size()));
    if (p <= int64_t(text.size())) return NewStr(std::string(1, text[size_t(p - 1)]));
    return NewStr(kNullMarker);
}

void String_::SetIndex(VAR_* key, VAR_* value) {
    std::string& text = Text();
    if (key->Is(TypeKind::String)) {
        const std::string part = key->GetStr();
        if (part.empty()) return;
        const std::string replacement = value->GetStr();
        std::string result;
        size_t start = 0;
        for (size_t found; (found = text.find(part, start)) != std::string::npos; start = found + part.size()) {
            result.append(text, start, found - start);
            result += replacement;
            CheckTextLength(result.size());
        }
        result.append(text, start, std::string::npos);
        text = std::move(result);
        return;
    }
    const int64_t p = Position(key);
    const int64_t length = int64_t(text.size());
    if (value->Is(TypeKind::Int)) {
        const int64_t number = value->GetInt();
        if (p == 0) {
            // The new bytes of a longer text are zero bytes.
            const int64_t newLength = std::max<int64_t>(number, 0);
            CheckTextLength(size_t(std::min<int64_t>(newLength, int64_t(kMaxTextLength) + 1)));
            text.resize(size_t(newLength), '\0');
        } else if (p > length) {
            text += char(number & 0xFF);
        } else {
            text[size_t(p - 1)] = char(number & 0xFF);
        }
        return;
    }
    const std::string t = value->GetStr();
    if (p == 0) {
        text.insert(0, t);
    } else if (p > length) {
        text += t;
    } else if (t.size() == 1) {
        text[size_t(p - 1)] = t[0];
    } else {
        text.insert(size_t(p - 1), t);
    }
}

// Ranges.

VAR_* String_::GetRange(VAR_* from, VAR_* to) {
    VAR_* self = Cur;
    const std::string& text = Text();
    const int64_t length = int64_t(text.size());
    const int64_t first = from->Is(TypeKind::String) ? FirstPos(text, from->GetStr()) : Position(from);
    int64_t last = to->Is(TypeKind::String) ? LastPos(to->GetStr(), text) : Position(to);
    if (self->ExclusiveEnd) --last;
    self->ExclusiveEnd = false;
    if (first <= 0 || last <= 0 || first > length || last > length || last < first) return NewStr("");
    return NewStr(text.substr(size_t(first - 1), size_t(last - first + 1)));
}

void String_::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    VAR_* self = Cur;
    const bool exclusive = self->ExclusiveEnd;
    self->ExclusiveEnd = false;
    std::string& text = Text();
    const int64_t length = int64_t(text.size());
    const int64_t first = from->Is(TypeKind::String) ? FirstPos(text, from->GetStr()) : Position(from);
    const int64_t last = to->Is(TypeKind::String) ? LastPos(to->GetStr(), text) : Position(to);
    const std::string inserted = value->GetStr();
    // The rest starts after `last` (at `last` with the exclusive end);
    // positions are 1-based, so that is index `last` (or `last` - 1).
    const int64_t restStart = std::clamp<int64_t>(exclusive ? last - 1 : last, 0, length);
    const int64_t keptBefore = std::clamp<int64_t>(first - 1, 0, length);
    std::string result = text.substr(0, size_t(keptBefore));
    result += inserted;
    result += text.substr(size_t(restStart), 65535);
    text = std::move(result);
}

// Comparisons.

int String_::Compare(VAR_* arg) {
    const size_t length = Text().size();
    if (arg->Is(TypeKind::Int)) {
        const int64_t n = arg->GetInt();
        return int64_t(length) < n ? -1 : (int64_t(length) > n ? 1 : 0);
    }
    if (arg->Is(TypeKind::Float)) {
        const long double f = arg->GetFloat();
        return (long double)length < f ? -1 : ((long double)length > f ? 1 : 0);
    }
    // char_traits<char> compares as unsigned bytes; a proper prefix is smaller.
    const int c = Text().compare(arg->GetStr());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool String_::Equal(VAR_* arg) { return Text() == arg->GetStr(); }
bool String_::NotEqual(VAR_* arg) { return Text() != arg->GetStr(); }
bool String_::Greater(VAR_* arg) { return Compare(arg) > 0; }
bool String_::GreaterEqual(VAR_* arg) { return Compare(arg) >= 0; }
bool String_::Less(VAR_* arg) { return Compare(arg) < 0; }
bool String_::LessEqual(VAR_* arg) { return Compare(arg) <= 0; }

// Iteration: the position is kept with each value, so nested loops over
// two texts do not disturb each other.

void String_::First() { Cur->IterPos = 1; }
void String_::Last() { Cur->IterPos = int32_t(Size()); }
void String_::Next() { Cur->IterPos = int32_t(uint32_t(Cur->IterPos) + 1u); }
void String_::Prev() { Cur->IterPos = int32_t(uint32_t(Cur->IterPos) - 1u); }
bool String_::IsEOF() { return Cur->IterPos < 1 || int64_t(Cur->IterPos) > int64_t(Text().size()); }
VAR_* String_::GetPosition() { return NewInt(Cur->IterPos); }
void String_::SetPosition(VAR_* position) { Cur->IterPos = Low32(position->GetInt()); }

VAR_* String_::Element() {
    if (IsEOF()) return NewStr(kNullMarker);
    return NewStr(std::string(1, Text()[size_t(Cur->IterPos - 1)]));
}
