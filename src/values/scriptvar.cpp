// The value cell: creation, binding, assignment, retyping and the slot
// wrappers.
#include "values/scriptvar.h"

#include <new>
#include <vector>

#include "values/FixedPool.h"
#include "values/literal.h"
#include "values/unitUtils.h"

TypeRegistry Types;
std::string CallOwner;
std::string CallName;

namespace {

// The binding stack: the previous Cur of a type for each active binding.
// Constant-initialised, so every slot call reaches it without a guard.
constinit std::vector<VAR_*> bindingStack;
std::vector<VAR_*>& BindingStack() { return bindingStack; }

// Unbinds a wrapper's cell however the slot leaves (library slots throw).
class WrapperBinding {
public:
    explicit WrapperBinding(VAR_* cell) : cell_(cell) {
        cell_->Bound = true;
        cell_->Bind();
    }
    ~WrapperBinding() {
        if (cell_->Bound) {
            cell_->Unbind();
            cell_->Bound = false;
        }
    }
    WrapperBinding(const WrapperBinding&) = delete;
    WrapperBinding& operator=(const WrapperBinding&) = delete;
private:
    VAR_* cell_;
};

}  // namespace

// Cells are made and dropped for almost every instruction: their storage
// comes from a pool of cell-sized slots. Larger objects (types that extend
// the cell) come from the global allocator and go back to it.
void* VAR_::operator new(size_t size) {
    return size == sizeof(VAR_) ? FixedPool<sizeof(VAR_)>::Take() : ::operator new(size);
}

void VAR_::operator delete(void* p, size_t size) {
    if (size == sizeof(VAR_)) FixedPool<sizeof(VAR_)>::Give(p);
    else ::operator delete(p);
}

VAR_::~VAR_() = default;

// The built-in types whose payload is the bits in CellData and whose data
// slots do nothing else: their cells can be made, cleared and copied in
// place, without binding the cell as its type's current one (a binding
// that the slots of these types never look at, and that is undone at once).
static bool IsPlainScalar(const Type_* type) {
    return type == Types.Null || type == Types.Int || type == Types.Float || type == Types.Bool;
}

// The type name of a plain scalar, asked of the type once per kind (the
// built-in scalar types never change their names).
static const std::string& PlainTypeName(Type_* type) {
    static std::string names[4];
    std::string& name = names[size_t(type->Kind) & 3];
    if (name.empty()) name = type->GetTypeName();
    return name;
}

VAR_* VAR_::Create(Type_* type, bool temp) {
    auto* cell = new VAR_;
    cell->Type = type;
    cell->Temp = temp;
    if (IsPlainScalar(type)) {  // what MakePayload gives these types
        cell->TypeName = PlainTypeName(type);
        return cell;
    }
    cell->Bind();
    cell->MakePayload();
    cell->Unbind();
    return cell;
}

void VAR_::MakePayload() {
    Data = Type->NewData();
    TypeName = Type->GetTypeName();
}

void VAR_::Release() {
    if (Temp) Destroy();
}

void VAR_::Destroy() {
    ClearData();
    delete Props;
    Props = nullptr;
    delete this;
}

void VAR_::Bind() {
    BindingStack().push_back(Type->Cur);
    Type->Cur = this;
}

void VAR_::Unbind() {
    auto& stack = BindingStack();
    Type->Cur = stack.back();
    stack.pop_back();
}

void VAR_::ClearData() {
    if (!Type) return;
    if (IsPlainScalar(Type) && !Bound) {  // a bound cell owes its Unbind below
        Data.ptr = nullptr;
        Type = nullptr;
        return;
    }
    if (!Bound) Bind();
    Type->FreeData(Data);
    Unbind();
    Bound = false;
    Type = nullptr;
}

VAR_* VAR_::Assign(VAR_* src) {
    if (src == this) return this;
    // A source that may live inside this cell (x = x[0], x = x.attr) would
    // be destroyed by clearing the cell first: take it through a copy.
    if (!src->Temp && (Props || (Type && Type->Kind == TypeKind::Object))) {
        VAR_* copy = src->Copy();
        Assign(copy);
        copy->Release();
        return this;
    }
    if (IsPlainScalar(src->Type) && !Props && (!Type || IsPlainScalar(Type))) {
        // What the general path below does for these types, in place.
        ClearData();
        Type = src->Type;
        Data = src->Data;
        if (src->Temp) {
            src->Data.ptr = nullptr;  // the general path swaps in a fresh, empty payload
            Props = src->Props;
            src->Props = nullptr;
        } else if (src->Props) {
            Props = src->Props->Clone();
        }
        TypeName = src->TypeName;
        return this;
    }
    ClearData();
    Type = src->Type;
    Bind();
    MakePayload();
    Unbind();
    delete Props;
    Props = nullptr;
    if (src->Temp) {
        std::swap(Data, src->Data);
        Props = src->Props;
        src->Props = nullptr;
    } else {
        Bind();
        Type->CopyData(src->Data, Data);
        Unbind();
        if (src->Props) Props = src->Props->Clone();
    }
    TypeName = src->TypeName;
    return this;
}

VAR_* VAR_::AssignFrom(VAR_* src) {
    if (!src || src == this) return this;
    if (src->Type == Type && src->Data.ptr == Data.ptr && Type && Type->Kind != TypeKind::Int &&
        Type->Kind != TypeKind::Float && Type->Kind != TypeKind::Bool)
        return this;
    return Assign(src);
}

VAR_* VAR_::Copy() {
    if (IsPlainScalar(Type) && !Props) {  // what the general path gives, in place
        auto* copy = new VAR_;
        copy->Type = Type;
        copy->Data = Data;
        copy->TypeName = TypeName;
        copy->Temp = true;
        return copy;
    }
    const bool wasTemp = Temp;
    Temp = false;
    VAR_* copy = Create(Types.Null, true);
    copy->Assign(this);
    Temp = wasTemp;
    return copy;
}

VAR_* VAR_::Retype(Type_* type) {
    Type_* old = Type;
    Bound = true;
    Bind();
    type->Adopt(old);
    if (Bound) {
        // Unbind through the old type: that is where the binding was made.
        auto& stack = BindingStack();
        old->Cur = stack.back();
        stack.pop_back();
        Bound = false;
    }
    Type = type;
    return this;
}

VAR_* VAR_::MakeBool(bool value) {
    ClearData();
    Type = Types.Bool;
    Bind();
    MakePayload();
    Unbind();
    SetBool(value);
    return this;
}

VAR_* VAR_::MakeInt(int64_t value) {
    ClearData();
    Type = Types.Int;
    Bind();
    MakePayload();
    Unbind();
    SetInt(value);
    return this;
}

VAR_* VAR_::ParseLiteral(const std::string& given, bool extended) {
    std::string text = given;
    if (text.empty() && Type == Types.String) text = GetStr();
    ClearData();
    Type_* type = Types.Null;
    switch (ClassifyLiteral(text, extended)) {
    case LiteralClass::Null: type = extended ? Types.Null : Types.String; break;
    case LiteralClass::Int: type = Types.Int; break;
    case LiteralClass::Float: type = Types.Float; break;
    case LiteralClass::Bool: type = Types.Bool; break;
    case LiteralClass::String:
        type = Types.String;
        if (text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\''))
            text = text.substr(1, text.size() - 2);
        break;
    }
    Type = type;
    Bind();
    MakePayload();
    Type->SetStr(text);
    Unbind();
    return this;
}

void VAR_::Unescape() { SetStr(UnescapeText(GetStr())); }

bool VAR_::Is(TypeKind kind) const { return Type && Type->Kind == kind; }

const char* VAR_::TypeTag() const {
    switch (Type ? Type->Kind : TypeKind::Null) {
    case TypeKind::String: return "Str";
    case TypeKind::Float: return "Flt";
    case TypeKind::Int: return "Int";
    case TypeKind::Bool: return "Bit";
    case TypeKind::Function: return "Fnc";
    case TypeKind::Object: return "Obj";
    default: return "Nil";
    }
}

void VAR_::AppendStr(std::string& out) {
    if (Type == Types.Int) {
        AppendDecimal(out, Data.i);
    } else if (Type == Types.String && Data.ptr) {
        out += *static_cast<const std::string*>(Data.ptr);
    } else {
        out += GetStr();
    }
}

// Slot wrappers.
#define WRAP(call) WrapperBinding binding(this); return Type->call

VAR_* VAR_::GetIndex(VAR_* key) { WRAP(GetIndex(key)); }
VAR_* VAR_::GetRange(VAR_* from, VAR_* to) { WRAP(GetRange(from, to)); }
void VAR_::SetIndex(VAR_* key, VAR_* value) { WRAP(SetIndex(key, value)); }
void VAR_::SetRange(VAR_* from, VAR_* to, VAR_* value) { WRAP(SetRange(from, to, value)); }
std::string VAR_::GetStr() { WRAP(GetStr()); }
void VAR_::SetStr(const std::string& text) { WRAP(SetStr(text)); }
VAR_* VAR_::CallArgs(GrafVarArray* args) { WRAP(CallArgs(args)); }
bool VAR_::IsNull() { WRAP(IsNull()); }
bool VAR_::IsEmpty() { WRAP(IsEmpty()); }
VAR_* VAR_::Method(const std::string& name, VAR_* arg, bool write) { WRAP(Method(name, arg, write)); }
int32_t VAR_::Size() { WRAP(Size()); }
bool VAR_::GetBool() { WRAP(GetBool()); }
int64_t VAR_::GetInt() { WRAP(GetInt()); }
long double VAR_::GetFloat() { WRAP(GetFloat()); }
Variant VAR_::GetVariant() { WRAP(GetVariant()); }
void VAR_::SetBool(bool value) { WRAP(SetBool(value)); }
void VAR_::SetInt(int64_t value) { WRAP(SetInt(value)); }
void VAR_::SetFloat(double value) { WRAP(SetFloat(value)); }
void VAR_::SetVariant(const Variant& value) { WRAP(SetVariant(value)); }
VAR_* VAR_::Inc() { WRAP(Inc()); }
VAR_* VAR_::Dec() { WRAP(Dec()); }
VAR_* VAR_::Neg() { WRAP(Neg()); }
VAR_* VAR_::Not() { WRAP(Not()); }
VAR_* VAR_::BitNot() { WRAP(BitNot()); }
VAR_* VAR_::Add(VAR_* arg) { WRAP(Add(arg)); }
VAR_* VAR_::Sub(VAR_* arg) { WRAP(Sub(arg)); }
VAR_* VAR_::Mul(VAR_* arg) { WRAP(Mul(arg)); }
VAR_* VAR_::Divide(VAR_* arg) { WRAP(Divide(arg)); }
VAR_* VAR_::IntDiv(VAR_* arg) { WRAP(IntDiv(arg)); }
VAR_* VAR_::Mod(VAR_* arg) { WRAP(Mod(arg)); }
VAR_* VAR_::Shl(VAR_* arg) { WRAP(Shl(arg)); }
VAR_* VAR_::Shr(VAR_* arg) { WRAP(Shr(arg)); }
VAR_* VAR_::And(VAR_* arg) { WRAP(And(arg)); }
VAR_* VAR_::Or(VAR_* arg) { WRAP(Or(arg)); }
VAR_* VAR_::Xor(VAR_* arg) { WRAP(Xor(arg)); }
VAR_* VAR_::BitAnd(VAR_* arg) { WRAP(BitAnd(arg)); }
VAR_* VAR_::BitOr(VAR_* arg) { WRAP(BitOr(arg)); }
VAR_* VAR_::BitXor(VAR_* arg) { WRAP(BitXor(arg)); }
bool VAR_::Equal(VAR_* arg) { WRAP(Equal(arg)); }
bool VAR_::NotEqual(VAR_* arg) { WRAP(NotEqual(arg)); }
bool VAR_::Greater(VAR_* arg) { WRAP(Greater(arg)); }
bool VAR_::GreaterEqual(VAR_* arg) { WRAP(GreaterEqual(arg)); }
bool VAR_::Less(VAR_* arg) { WRAP(Less(arg)); }
bool VAR_::LessEqual(VAR_* arg) { WRAP(LessEqual(arg)); }
VAR_* VAR_::GetPosition() { WRAP(GetPosition()); }
void VAR_::SetPosition(VAR_* position) { WRAP(SetPosition(position)); }
VAR_* VAR_::Element() { WRAP(Element()); }
bool VAR_::IsEOF() { WRAP(IsEOF()); }
void VAR_::First() { WRAP(First()); }
void VAR_::Next() { WRAP(Next()); }
void VAR_::Prev() { WRAP(Prev()); }
void VAR_::Last() { WRAP(Last()); }

#undef WRAP

// HasMethod binds and unbinds without touching Bound.
bool VAR_::HasMethod(const std::string& name) {
    Bind();
    struct Unbinder { VAR_* c; ~Unbinder() { c->Unbind(); } } unbind{this};
    return Type->HasMethod(name);
}

VAR_* NewNull() { return VAR_::Create(Types.Null, true); }

VAR_* NewStr(std::string text) {
    VAR_* cell = VAR_::Create(Types.String, true);
    cell->SetStr(text);
    return cell;
}

VAR_* NewInt(int64_t value) {
    VAR_* cell = VAR_::Create(Types.Int, true);
    cell->SetInt(value);
    return cell;
}

VAR_* NewFloat(double value) {
    VAR_* cell = VAR_::Create(Types.Float, true);
    cell->SetFloat(value);
    return cell;
}

VAR_* NewBool(bool value) {
    VAR_* cell = VAR_::Create(Types.Bool, true);
    cell->SetBool(value);
    return cell;
}

VAR_* NewFromVariant(const Variant& value) {
    if (value.Kind() == VarKind::String) return NewStr(value.StrValue());
    if (value.IsFloatKind()) return NewFloat(value.ToDouble());
    if (value.Kind() == VarKind::Bool) return NewInt(value.BoolValue() ? -1 : 0);
    if (value.IsIntegerKind()) return NewInt(value.ToInt());
    if (value.IsNull() || value.IsEmpty()) return NewNull();
    VAR_* cell = VAR_::Create(Types.Variant, true);
    cell->SetVariant(value);
    return cell;
}

VAR_* NewLiteral(const std::string& text, bool extended) {
    VAR_* cell = NewNull();
    cell->ParseLiteral(text, extended);
    return cell;
}
