// Int: signed 64-bit integers with wrapping arithmetic, bit access, bit
// iteration and byte extraction by calling.
#include <cmath>

#include "values/NumberBits.h"
#include "values/NumberTypes.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

uint64_t U(int64_t v) { return uint64_t(v); }

int SignificantBytes(int64_t value) {
    if (value < 0) return 8;
    int bytes = 0;
    for (uint64_t v = U(value); v != 0; v >>= 8) ++bytes;
    return bytes;
}

}  // namespace

Int_::Int_() { Kind = TypeKind::Int; }

int64_t& Int_::Value() { return Cur->Data.i; }

std::string Int_::GetTypeName() { return "Int"; }

void Int_::SetCallName() {
    CallOwner.clear();
    CallName = "Int.Byte";
}

void Int_::CopyData(const CellData& src, CellData& dst) { dst.i = src.i; }

void Int_::Adopt(Type_* previous) {
    const int64_t value = previous->GetInt();
    Type_::Adopt(previous);
    SetInt(value);
}

std::string Int_::GetStr() { return std::to_string(Value()); }

void Int_::SetStr(const std::string& text) {
    int64_t value = 0;
    Value() = ParseScriptInteger(text, false, value) ? value : 0;
}

int64_t Int_::GetInt() { return Value(); }
long double Int_::GetFloat() { return (long double)Value(); }
bool Int_::GetBool() { return Value() != 0; }
Variant Int_::GetVariant() { return Variant::FromInt(Value()); }
void Int_::SetInt(int64_t value) { Value() = value; }
void Int_::SetFloat(double value) { Value() = RoundToInt64(value); }

void Int_::SetBool(bool value) {
    if (!value) Value() = 0;
}

bool Int_::IsNull() { return Value() == 0; }
bool Int_::IsEmpty() { return false; }
int32_t Int_::Size() { return SignificantBytes(Value()); }

// Bits.

int Int_::Bit(VAR_* key) {
    const int step = 8 * Size();
    return NormaliseBitNumber(key->GetInt(), step);
}

VAR_* Int_::GetIndex(VAR_* key) { return NewBool(ReadBit(U(Value()), Bit(key))); }

void Int_::SetIndex(VAR_* key, VAR_* value) {
    const int bit = Bit(key);
    const bool on = value->GetBool();
    Value() = int64_t(WriteBit(U(Value()), bit, on));
}

VAR_* Int_::GetRange(VAR_* from, VAR_* to) {
    VAR_* self = Cur;
    const int first = Bit(from);
    int last = Bit(to);
    if (self->ExclusiveEnd) --last;
    self->ExclusiveEnd = false;
    return NewInt(int64_t(ReadBitField(U(Value()), first, last)));
}

void Int_::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    VAR_* self = Cur;
    const int first = Bit(from);
    int last = Bit(to);
    if (self->ExclusiveEnd) --last;
    self->ExclusiveEnd = false;
    const uint64_t source = U(value->GetInt());
    Value() = int64_t(WriteBitField(U(Value()), first, last, source));
}

// Iteration over the bits; the position is an 8-bit number kept with
// each value.

void Int_::First() { Cur->IterPos = 0; }
void Int_::Last() { Cur->IterPos = (8 * Size() - 1) & 0xFF; }
void Int_::Next() { Cur->IterPos = (Cur->IterPos + 1) & 0xFF; }
void Int_::Prev() { Cur->IterPos = (Cur->IterPos - 1) & 0xFF; }
bool Int_::IsEOF() { return Cur->IterPos >= 8 * Size(); }
VAR_* Int_::GetPosition() { return NewInt(Cur->IterPos); }
void Int_::SetPosition(VAR_* position) { Cur->IterPos = int32_t(position->GetInt() & 0xFF); }
VAR_* Int_::Element() { return NewBool(ReadBit(U(Value()), Cur->IterPos)); }

// x(n): byte n of the value (0 the least significant).
VAR_* Int_::CallArgs(GrafVarArray* args) {
    VAR_* arg = ArgAt(args, 0);
    const int n = arg ? int(arg->GetInt() & 0xFF) : 0;
    if (n > Size() || n >= 8) return NewInt(0);
    return NewInt(int64_t((U(Value()) >> (8 * n)) & 0xFF));
}

VAR_* Int_::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (name == "Low") return NewInt(0);
        if (name == "High") return NewInt(8 * Size() - 1);
        if (name == "ExCol") return NewStr(ColumnLetters(Low32(Value())));
    }
    return DefaultMethod(name, arg, write);
}

bool Int_::HasMethod(const std::string& name) {
    return name == "Low" || name == "High" || name == "ExCol" || DefaultHasMethod(name);
}

// Arithmetic wraps modulo 2^64.

VAR_* Int_::Add(VAR_* arg) {
    Value() = int64_t(U(Value()) + U(arg->GetInt()));
    return Cur;
}

VAR_* Int_::Sub(VAR_* arg) {
    Value() = int64_t(U(Value()) - U(arg->GetInt()));
    return Cur;
}

VAR_* Int_::Mul(VAR_* arg) {
    Value() = int64_t(U(Value()) * U(arg->GetInt()));
    return Cur;
}

namespace {

int64_t Divisor(VAR_* arg) {
    const int64_t d = arg->GetInt();
    if (d == 0) throw ScriptError("Integer division by zero");
    return d;
}

// Truncating division; the smallest integer divided by -1 wraps to itself.
int64_t Quotient(int64_t a, int64_t d) { return d == -1 ? int64_t(0 - U(a)) : a / d; }

}  // namespace

VAR_* Int_::Divide(VAR_* arg) {
    Value() = Quotient(Value(), Divisor(arg));
    return Cur;
}

VAR_* Int_::IntDiv(VAR_* arg) { return Divide(arg); }

VAR_* Int_::Mod(VAR_* arg) {
    const int64_t d = Divisor(arg);
    Value() = d == -1 ? 0 : Value() % d;
    return Cur;
}

VAR_* Int_::Shl(VAR_* arg) {
    Value() = int64_t(ShiftLeft(U(Value()), arg->GetInt()));
    return Cur;
}

VAR_* Int_::Shr(VAR_* arg) {
    Value() = int64_t(ShiftRight(U(Value()), arg->GetInt()));
    return Cur;
}

VAR_* Int_::BitAnd(VAR_* arg) {
    Value() &= arg->GetInt();
    return Cur;
}

VAR_* Int_::BitOr(VAR_* arg) {
    Value() |= arg->GetInt();
    return Cur;
}

VAR_* Int_::BitXor(VAR_* arg) {
    Value() ^= arg->GetInt();
    return Cur;
}

VAR_* Int_::Inc() {
    Value() = int64_t(U(Value()) + 1);
    return Cur;
}

VAR_* Int_::Dec() {
    Value() = int64_t(U(Value()) - 1);
    return Cur;
}

VAR_* Int_::Neg() {
    Value() = int64_t(0 - U(Value()));
    return Cur;
}

VAR_* Int_::Not() {
    VAR_* self = Cur;
    self->MakeBool(Value() == 0);
    return self;
}

VAR_* Int_::BitNot() {
    Value() = ~Value();
    return Cur;
}

// Comparisons: against a Float both sides compare as floats.

int Int_::Compare(VAR_* arg) {
    if (arg->Is(TypeKind::Float)) return CompareFloats((long double)Value(), arg->GetFloat());
    const int64_t other = arg->GetInt();
    return Value() < other ? -1 : (Value() > other ? 1 : 0);
}

bool Int_::Equal(VAR_* arg) { return FloatEqual(Compare(arg)); }
bool Int_::NotEqual(VAR_* arg) { return !FloatEqual(Compare(arg)); }
bool Int_::Greater(VAR_* arg) { return FloatGreater(Compare(arg)); }
bool Int_::GreaterEqual(VAR_* arg) { return FloatGreaterEqual(Compare(arg)); }
bool Int_::Less(VAR_* arg) { return FloatLess(Compare(arg)); }
bool Int_::LessEqual(VAR_* arg) { return FloatLessEqual(Compare(arg)); }
