#include "values/VariantType.h"

#include <exception>

Variant_::Variant_() { Kind = TypeKind::Variant; }

Variant& Variant_::Value() { return *static_cast<Variant*>(Cur->Data.ptr); }

CellData Variant_::NewData() { return CellData{new Variant(Variant::MakeNull())}; }

void Variant_::FreeData(CellData& data) {
    delete static_cast<Variant*>(data.ptr);
    data.ptr = nullptr;
}

void Variant_::CopyData(const CellData& src, CellData& dst) {
    *static_cast<Variant*>(dst.ptr) = *static_cast<const Variant*>(src.ptr);
}

std::string Variant_::GetTypeName() { return "Variant"; }

void Variant_::SetCallName() {
    CallOwner.clear();
    CallName = "Variant";
}

// A kind without a text form gives the empty text.
std::string Variant_::GetStr() {
    try {
        return Value().ToText();
    } catch (const std::exception&) {
        return "";
    }
}

void Variant_::SetStr(const std::string& text) { Value() = Variant::FromStr(text); }
Variant Variant_::GetVariant() { return Value(); }
void Variant_::SetVariant(const Variant& value) { Value() = value; }
void Variant_::SetBool(bool value) { Value() = Variant::FromBool(value); }
void Variant_::SetInt(int64_t value) { Value() = Variant::FromInt(value, VarKind::I8); }
void Variant_::SetFloat(double value) { Value() = Variant::FromDouble(value); }

void Variant_::Adopt(Type_* previous) {
    const Variant value = previous->GetVariant();
    Type_::Adopt(previous);
    SetVariant(value);
}
