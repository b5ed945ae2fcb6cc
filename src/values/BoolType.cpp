// Bool: true or false. Every binary operator reads its right operand with
// GetBool and the unary ones all negate.
#include <cmath>

#include "values/NumberTypes.h"
#include "values/codepage.h"

Bool_::Bool_() { Kind = TypeKind::Bool; }

bool Bool_::Value() { return Cur->Data.i != 0; }

VAR_* Bool_::Store(bool value) {
    Cur->Data.i = value ? 1 : 0;
    return Cur;
}

std::string Bool_::GetTypeName() { return "Boolean"; }

void Bool_::SetCallName() {
    CallOwner.clear();
    CallName = "Boolean";
}

void Bool_::CopyData(const CellData& src, CellData& dst) { dst.i = src.i; }

// A text is read by its words ("Off", "no", "0", ... are false), any
// other value by its truth.
void Bool_::Adopt(Type_* previous) {
    const bool fromText = previous->Kind == TypeKind::String;
    const std::string text = fromText ? previous->GetStr() : std::string();
    const bool value = fromText ? false : previous->GetBool();
    Type_::Adopt(previous);
    if (fromText)
        SetStr(text);
    else
        SetBool(value);
}

std::string Bool_::GetStr() { return Value() ? "True" : "False"; }

void Bool_::SetStr(const std::string& text) {
    const std::string word = Lower1251(text);
    const bool isFalse = word.empty() || word == "false" || word == "f" || word == "no" || word == "off" || word == "0";
    Store(!isFalse);
}

int64_t Bool_::GetInt() { return Value() ? 1 : 0; }
long double Bool_::GetFloat() { return Value() ? 1 : 0; }
bool Bool_::GetBool() { return Value(); }
Variant Bool_::GetVariant() { return Variant::FromBool(Value()); }
void Bool_::SetBool(bool value) { Store(value); }
void Bool_::SetInt(int64_t value) { Store(value != 0); }
void Bool_::SetFloat(double value) { Store(!std::isnan(value) && value != 0); }
bool Bool_::IsNull() { return false; }
bool Bool_::IsEmpty() { return !Value(); }
int32_t Bool_::Size() { return 1; }
VAR_* Bool_::Element() { return NewBool(Value()); }

VAR_* Bool_::Add(VAR_* arg) { return Store(Value() || arg->GetBool()); }
VAR_* Bool_::Sub(VAR_* arg) { return Store(Value() != arg->GetBool()); }
VAR_* Bool_::Mul(VAR_* arg) { return Store(Value() && arg->GetBool()); }

VAR_* Bool_::Divide(VAR_* arg) {
    const bool v = Value();
    return Store(v == arg->GetBool() || v);
}

VAR_* Bool_::IntDiv(VAR_* arg) { return Store(Value() == arg->GetBool()); }

VAR_* Bool_::Mod(VAR_* arg) {
    const bool b = arg->GetBool();
    return Store(Value() == b || b);
}

VAR_* Bool_::Shl(VAR_* arg) { return Store(Value() || arg->GetBool()); }
VAR_* Bool_::Shr(VAR_* arg) { return Store(Value() || arg->GetBool()); }
VAR_* Bool_::BitAnd(VAR_* arg) { return Store(Value() && arg->GetBool()); }
VAR_* Bool_::BitOr(VAR_* arg) { return Store(Value() || arg->GetBool()); }
VAR_* Bool_::BitXor(VAR_* arg) { return Store(Value() != arg->GetBool()); }
VAR_* Bool_::And(VAR_* arg) { return Store(Value() && arg->GetBool()); }
VAR_* Bool_::Or(VAR_* arg) { return Store(Value() || arg->GetBool()); }
VAR_* Bool_::Xor(VAR_* arg) { return Store(Value() != arg->GetBool()); }

VAR_* Bool_::Inc() { return Store(!Value()); }
VAR_* Bool_::Dec() { return Store(!Value()); }
VAR_* Bool_::Neg() { return Store(!Value()); }
VAR_* Bool_::Not() { return Store(!Value()); }
VAR_* Bool_::BitNot() { return Store(!Value()); }

bool Bool_::Equal(VAR_* arg) { return Value() == arg->GetBool(); }
bool Bool_::NotEqual(VAR_* arg) { return Value() != arg->GetBool(); }
bool Bool_::Greater(VAR_* arg) { return Value() > arg->GetBool(); }
bool Bool_::GreaterEqual(VAR_* arg) { return Value() >= arg->GetBool(); }
bool Bool_::Less(VAR_* arg) { return Value() < arg->GetBool(); }
bool Bool_::LessEqual(VAR_* arg) { return Value() <= arg->GetBool(); }
