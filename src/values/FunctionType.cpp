#include "values/FunctionType.h"

Function_::Function_() { Kind = TypeKind::Function; }

FunctionRecord* Function_::Record() { return static_cast<FunctionRecord*>(Cur->Data.ptr); }

FunctionRecord* FunctionRecordOf(VAR_* cell) {
    return cell && cell->Is(TypeKind::Function) ? static_cast<FunctionRecord*>(cell->Data.ptr) : nullptr;
}

CellData Function_::NewData() { return CellData{new FunctionRecord}; }

void Function_::FreeData(CellData& data) {
    auto* record = static_cast<FunctionRecord*>(data.ptr);
    if (record && record->OwnerWasTemp && record->Owner) record->Owner->Temp = true;
    delete record;
    data.ptr = nullptr;
}

void Function_::CopyData(const CellData& src, CellData& dst) {
    auto* target = static_cast<FunctionRecord*>(dst.ptr);
    const auto* source = static_cast<const FunctionRecord*>(src.ptr);
    if (!source) return;
    if (!target) {
        target = new FunctionRecord;
        dst.ptr = target;
    }
    *target = *source;
    target->OwnerWasTemp = false;  // the original alone gives the owner back
}

std::string Function_::GetTypeName() {
    if (!CallOwner.empty()) return "Object[" + CallOwner + "].<" + CallName + ">";
    return "System.<" + CallName + ">";
}

void Function_::SetCallName() {}

std::string Function_::GetStr() { return Cur->TypeName; }
bool Function_::IsNull() { return Record() == nullptr; }
bool Function_::IsEmpty() { return !Record() || !Record()->Code; }

VAR_* Function_::CallArgs(GrafVarArray* args) {
    FunctionRecord* record = Record();
    if (!record || !record->Code) return Type_::CallArgs(args);
    VAR_* owner = record->Owner;
    if (!owner) return record->Code(record->Object, args);
    owner->Bind();
    struct Unbinder {
        VAR_* cell;
        ~Unbinder() { cell->Unbind(); }
    } unbind{owner};
    return record->Code(record->Object, args);
}

VAR_* NewFunction(const MethodRecord& method, VAR_* owner) {
    VAR_* cell = VAR_::Create(Types.Function, true);
    auto* record = static_cast<FunctionRecord*>(cell->Data.ptr);
    record->Code = method.Code;
    record->Object = method.Object;
    record->Owner = owner;
    if (owner) {
        record->OwnerWasTemp = owner->Temp;
        owner->Temp = false;
    }
    return cell;
}
