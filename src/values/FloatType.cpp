// Float: IEEE doubles. Arithmetic runs in extended precision and is
// rounded to double when stored; the bits of the IEEE pattern can be read
// and written like an Int's.
#include <cmath>
#include <cstring>

#include "values/NumberBits.h"
#include "values/NumberTypes.h"
#include "values/TypeHelpers.h"
#include "values/floattext.h"
#include "values/unitUtils.h"

namespace {

constexpr int kPatternStep = 64;

long double Divisor(VAR_* arg) {
    const long double d = arg->GetFloat();
    if (d == 0) throw ScriptError("Float division by zero");
    return d;
}

int64_t IntegerDivisor(VAR_* arg) {
    const int64_t d = RoundToInt64(arg->GetFloat());
    if (d == 0) throw ScriptError("Float division by zero");
    return d;
}

}  // namespace

int CompareFloats(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b)) return 2;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool FloatEqual(int order) { return order == 0 || order == 2; }
bool FloatGreater(int order) { return order > 0; }
bool FloatGreaterEqual(int order) { return order >= 0; }
bool FloatLess(int order) { return order == -1; }
bool FloatLessEqual(int order) { return order == -1 || order == 0; }

int64_t RoundFloatText(double value) {
    std::string text = FloatText(value);
    char noted = '0';
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        if (comma + 1 < text.size()) noted = text[comma + 1];
        text.resize(comma);
    }
    int64_t result = 0;
    if (!ParseScriptInteger(text, false, result)) result = 0;
    return noted >= '5' && noted <= '9' ? int64_t(uint64_t(result) + 1) : result;
}

Float_::Float_() { Kind = TypeKind::Float; }

double& Float_::Value() { return Cur->Data.f; }

uint64_t Float_::Pattern() {
    uint64_t pattern = 0;
    std::memcpy(&pattern, &Value(), sizeof pattern);
    return pattern;
}

void Float_::SetPattern(uint64_t pattern) { std::memcpy(&Value(), &pattern, sizeof pattern); }

VAR_* Float_::Store(long double result) {
    const double stored = double(result);
    if (std::isinf(stored) && std::isfinite(Value())) throw ScriptError("Float overflow");
    Value() = stored;
    return Cur;
}

VAR_* Float_::AsInt(int64_t result) {
    VAR_* self = Cur;
    self->MakeInt(result);
    return self;
}

std::string Float_::GetTypeName() { return "Float"; }

void Float_::SetCallName() {
    CallOwner.clear();
    CallName = "Float";
}

void Float_::CopyData(const CellData& src, CellData& dst) { dst.f = src.f; }

void Float_::Adopt(Type_* previous) {
    const long double value = previous->GetFloat();
    Type_::Adopt(previous);
    SetFloat(double(value));
}

std::string Float_::GetStr() { return FloatText(Value()); }
void Float_::SetStr(const std::string& text) { Value() = double(ParseFloatDot(text)); }
int64_t Float_::GetInt() { return RoundToInt64(Value()); }
long double Float_::GetFloat() { return Value(); }
bool Float_::GetBool() { return !std::isnan(Value()) && Value() != 0; }
Variant Float_::GetVariant() { return Variant::FromDouble(Value()); }
void Float_::SetInt(int64_t value) { Value() = double(value); }
void Float_::SetFloat(double value) { Value() = value; }

void Float_::SetBool(bool value) {
    if (!value) Value() = 0;
}

bool Float_::IsNull() { return Value() == 0 || std::isnan(Value()); }
bool Float_::IsEmpty() { return false; }
int32_t Float_::Size() { return 8; }

// Bits of the IEEE pattern.

VAR_* Float_::GetIndex(VAR_* key) {
    return NewBool(ReadBit(Pattern(), NormaliseBitNumber(key->GetInt(), kPatternStep)));
}

void Float_::SetIndex(VAR_* key, VAR_* value) {
    const int bit = NormaliseBitNumber(key->GetInt(), kPatternStep);
    const bool on = value->GetBool();
    SetPattern(WriteBit(Pattern(), bit, on));
}

VAR_* Float_::GetRange(VAR_* from, VAR_* to) {
    VAR_* self = Cur;
    const int first = NormaliseBitNumber(from->GetInt(), kPatternStep);
    int last = NormaliseBitNumber(to->GetInt(), kPatternStep);
    if (self->ExclusiveEnd) --last;
    self->ExclusiveEnd = false;
    const uint64_t field = ReadBitField(Pattern(), first, last);
    double result = 0;
    std::memcpy(&result, &field, sizeof result);
    return NewFloat(result);
}

void Float_::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    VAR_* self = Cur;
    const int first = NormaliseBitNumber(from->GetInt(), kPatternStep);
    int last = NormaliseBitNumber(to->GetInt(), kPatternStep);
    if (self->ExclusiveEnd) --last;
    self->ExclusiveEnd = false;
    const uint64_t source = uint64_t(value->GetInt());
    SetPattern(WriteBitField(Pattern(), first, last, source));
}

VAR_* Float_::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (name == "Low") return NewInt(0);
        if (name == "High") return NewInt(63);
        if (name == "ExCol") return NewStr(ColumnLetters(Low32(GetInt())));
        if (name == "Round") return NewInt(RoundFloatText(Value()));
    }
    return DefaultMethod(name, arg, write);
}

bool Float_::HasMethod(const std::string& name) {
    return name == "Low" || name == "High" || name == "ExCol" || name == "Round" || DefaultHasMethod(name);
}

// Arithmetic.

VAR_* Float_::Add(VAR_* arg) { return Store((long double)Value() + arg->GetFloat()); }
VAR_* Float_::Sub(VAR_* arg) { return Store((long double)Value() - arg->GetFloat()); }
VAR_* Float_::Mul(VAR_* arg) { return Store((long double)Value() * arg->GetFloat()); }

VAR_* Float_::Divide(VAR_* arg) {
    const long double d = Divisor(arg);
    return Store((long double)Value() / d);
}

VAR_* Float_::IntDiv(VAR_* arg) {
    const int64_t d = IntegerDivisor(arg);
    const int64_t a = GetInt();
    return Store((long double)(d == -1 ? int64_t(0 - uint64_t(a)) : a / d));
}

VAR_* Float_::Mod(VAR_* arg) {
    const int64_t d = IntegerDivisor(arg);
    const int64_t a = GetInt();
    return Store((long double)(d == -1 ? 0 : a % d));
}

VAR_* Float_::Shl(VAR_* arg) { return AsInt(int64_t(ShiftLeft(uint64_t(GetInt()), arg->GetInt()))); }
VAR_* Float_::Shr(VAR_* arg) { return AsInt(int64_t(ShiftRight(uint64_t(GetInt()), arg->GetInt()))); }
VAR_* Float_::BitAnd(VAR_* arg) { return AsInt(GetInt() & arg->GetInt()); }
VAR_* Float_::BitOr(VAR_* arg) { return AsInt(GetInt() | arg->GetInt()); }
VAR_* Float_::BitXor(VAR_* arg) { return AsInt(GetInt() ^ arg->GetInt()); }

VAR_* Float_::Inc() { return Store((long double)Value() + 1); }
VAR_* Float_::Dec() { return Store((long double)Value() - 1); }

VAR_* Float_::Neg() {
    Value() = -Value();
    return Cur;
}

VAR_* Float_::Not() {
    VAR_* self = Cur;
    self->MakeBool(Value() == 0);
    return self;
}

VAR_* Float_::BitNot() {
    Value() = double(~GetInt());
    return Cur;
}

// Comparisons, with the NaN rules.

bool Float_::Equal(VAR_* arg) { return FloatEqual(CompareFloats(Value(), arg->GetFloat())); }
bool Float_::NotEqual(VAR_* arg) { return !FloatEqual(CompareFloats(Value(), arg->GetFloat())); }
bool Float_::Greater(VAR_* arg) { return FloatGreater(CompareFloats(Value(), arg->GetFloat())); }
bool Float_::GreaterEqual(VAR_* arg) { return FloatGreaterEqual(CompareFloats(Value(), arg->GetFloat())); }
bool Float_::Less(VAR_* arg) { return FloatLess(CompareFloats(Value(), arg->GetFloat())); }
bool Float_::LessEqual(VAR_* arg) { return FloatLessEqual(CompareFloats(Value(), arg->GetFloat())); }
