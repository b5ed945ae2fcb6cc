// The base type: the behaviour of the Null value, inherited by every type
// for the slots it does not override.
#include "values/scriptvar.h"

Type_::Type_() = default;
Type_::~Type_() = default;

VAR_* Type_::GetIndex(VAR_* key) {
    if (Cur->Props) {
        if (VAR_* attribute = Cur->Props->CellByName(key->GetStr())) return attribute;
    }
    return Cur;
}

VAR_* Type_::GetRange(VAR_*, VAR_*) { return Cur; }

void Type_::SetIndex(VAR_* key, VAR_* value) {
    if (!Cur->Props) Cur->Props = new GrafVarArray;
    // Find or make the entry without clearing it first: the cell it holds
    // is released below rather than dropped.
    const std::string name = key->GetStr();
    if (!Cur->Props->Find(name)) Cur->Props->Add(name, nullptr);
    GrafNode* node = Cur->Props->CurNode;
    VAR_* copy = value->Copy();
    copy->Temp = false;
    if (auto* old = static_cast<VAR_*>(node->Value)) {
        old->Temp = true;
        old->Release();
    }
    node->Value = copy;
}

void Type_::SetRange(VAR_*, VAR_*, VAR_*) {}
std::string Type_::GetStr() { return "Null"; }
void Type_::SetStr(const std::string&) {}
CellData Type_::NewData() { return CellData{nullptr}; }
std::string Type_::GetTypeName() { return "Null"; }
void Type_::FreeData(CellData& data) { data.ptr = nullptr; }
VAR_* Type_::CallArgs(GrafVarArray*) { return Cur; }

void Type_::SetCallName() {
    CallOwner.clear();
    CallName = "Null";
}

void Type_::Create() {}
bool Type_::IsNull() { return true; }
bool Type_::IsEmpty() { return true; }
void Type_::CopyData(const CellData&, CellData& dst) { dst.ptr = nullptr; }

void Type_::Adopt(Type_* previous) {
    VAR_* cell = previous->Cur;
    Cur = cell;
    previous->FreeData(cell->Data);
    cell->Data = NewData();
    cell->TypeName = GetTypeName();
}

VAR_* Type_::Method(const std::string& name, VAR_* arg, bool write) {
    return DefaultMethod(name, arg, write);
}

bool Type_::HasMethod(const std::string& name) { return DefaultHasMethod(name); }

// Members every value has, in lookup order; then the type's methods and
// the value's attributes. Unknown names read as Null.
VAR_* Type_::DefaultMethod(const std::string& name, VAR_* arg, bool write) {
    VAR_* self = Cur;
    if (write) {
        if (name == "Position") {
            SetPosition(arg);
        } else {
            if (!self->Props) self->Props = new GrafVarArray;
            VAR_* key = NewStr(name);
            // SetIndex of the base type stores a copy under the name.
            Type_::SetIndex(key, arg);
            key->Release();
        }
        return NewNull();
    }
    if (name == "Size") return NewInt(Size());
    if (name == "Type") return NewStr(self->TypeName);
    if (name == "Position") return GetPosition();
    if (name == "EOF") return NewBool(IsEOF());
    if (name == "Element") return Element();
    if (name == "to_b") return NewBool(GetBool());
    if (name == "to_i") return NewInt(GetInt());
    if (name == "to_f") return NewFloat(double(GetFloat()));
    if (name == "to_s") return NewStr(GetStr());
    if (name == "Inc" || name == "Dec") {
        VAR_* copy = self->Copy();
        VAR_* result = name == "Inc" ? copy->Inc() : copy->Dec();
        if (result != copy) copy->Release();
        return result;
    }
    if (name == "Val") return self->Copy();
    if (name == "IsNull") return NewBool(IsNull());
    if (name == "Empty") return NewBool(IsEmpty());
    if (const MethodRecord* record = Methods.GetMethod(name)) {
        SetCallName();
        CallName = name;
        return NewFunction(*record, self);
    }
    if (self->Props) {
        if (VAR_* attribute = self->Props->CellByName(name)) return attribute;
    }
    return NewNull();
}

bool Type_::DefaultHasMethod(const std::string& name) {
    static const char* const kNames[] = {"Position", "EOF", "Element", "to_b", "to_i", "to_f", "to_s",
                                         "Inc", "Dec", "Val", "IsNull", "Type", "Empty", "Size"};
    for (const char* n : kNames)
        if (name == n) return true;
    if (Methods.GetMethod(name)) return true;
    return Cur->Props && Cur->Props->CellByName(name);
}

int32_t Type_::Size() { return 0; }
bool Type_::GetBool() { return false; }
int64_t Type_::GetInt() { return 0; }
long double Type_::GetFloat() { return 0; }
Variant Type_::GetVariant() { return Variant::MakeNull(); }
void Type_::SetBool(bool) {}
void Type_::SetInt(int64_t) {}
void Type_::SetFloat(double) {}

void Type_::SetVariant(const Variant& value) {
    if (value.Kind() == VarKind::String)
        SetStr(value.StrValue());
    else if (value.IsFloatKind())
        SetFloat(value.ToDouble());
    else if (value.Kind() == VarKind::Bool)
        SetInt(value.BoolValue() ? -1 : 0);
    else if (value.IsIntegerKind())
        SetInt(value.ToInt());
    else
        SetStr(value.ToText());
}

VAR_* Type_::Inc() { return Cur; }
VAR_* Type_::Dec() { return Cur; }
VAR_* Type_::Neg() { return Cur; }
VAR_* Type_::Not() { return Cur; }
VAR_* Type_::BitNot() { return Cur; }
VAR_* Type_::Add(VAR_*) { return Cur; }
VAR_* Type_::Sub(VAR_*) { return Cur; }
VAR_* Type_::Mul(VAR_*) { return Cur; }
VAR_* Type_::Divide(VAR_*) { return Cur; }
VAR_* Type_::IntDiv(VAR_*) { return Cur; }
VAR_* Type_::Mod(VAR_*) { return Cur; }
VAR_* Type_::Shl(VAR_*) { return Cur; }
VAR_* Type_::Shr(VAR_*) { return Cur; }

VAR_* Type_::And(VAR_* arg) {
    VAR_* self = Cur;
    const bool value = GetBool() && arg->GetBool();
    self->MakeBool(value);
    return self;
}

VAR_* Type_::Or(VAR_* arg) {
    VAR_* self = Cur;
    const bool value = GetBool() || arg->GetBool();
    self->MakeBool(value);
    return self;
}

VAR_* Type_::Xor(VAR_* arg) {
    VAR_* self = Cur;
    const bool value = GetBool() != arg->GetBool();
    self->MakeBool(value);
    return self;
}

VAR_* Type_::BitAnd(VAR_*) { return Cur; }
VAR_* Type_::BitOr(VAR_*) { return Cur; }
VAR_* Type_::BitXor(VAR_*) { return Cur; }
bool Type_::Equal(VAR_* arg) { return Cur->TypeName == arg->TypeName; }
bool Type_::NotEqual(VAR_* arg) { return Cur->TypeName != arg->TypeName; }
bool Type_::Greater(VAR_*) { return true; }
bool Type_::GreaterEqual(VAR_*) { return true; }
bool Type_::Less(VAR_*) { return false; }
bool Type_::LessEqual(VAR_* arg) { return Cur->TypeName == arg->TypeName; }
VAR_* Type_::GetPosition() { return Cur; }
void Type_::SetPosition(VAR_*) {}
VAR_* Type_::Element() { return Cur; }
bool Type_::IsEOF() { return true; }
void Type_::First() {}
void Type_::Next() {}
void Type_::Prev() {}
void Type_::Last() {}
