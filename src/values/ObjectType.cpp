#include "values/ObjectType.h"

Object_::Object_() { Kind = TypeKind::Object; }

std::string Object_::GetTypeName() { return "Object"; }

void Object_::SetCallName() {
    CallOwner = "Unknown";
    CallName = "__";
}

std::string Object_::GetStr() { return Cur->TypeName; }
bool Object_::IsNull() { return Cur->Data.ptr == nullptr; }
bool Object_::IsEmpty() { return false; }

// Two cells then refer to the same object.
void Object_::CopyData(const CellData& src, CellData& dst) { dst.ptr = src.ptr; }
