#include "values/FunctionType.h"

#include <unordered_map>

struct OwnerLease {
    VAR_* Owner;
    bool Abandoned = false;
    explicit OwnerLease(VAR_* owner);
    ~OwnerLease();
};

namespace {
// The live leases by owner, so a holder can find the lease of a cell.
std::unordered_map<const VAR_*, std::weak_ptr<OwnerLease>>& Leases() {
    static std::unordered_map<const VAR_*, std::weak_ptr<OwnerLease>> leases;
    return leases;
}
}  // namespace

OwnerLease::OwnerLease(VAR_* owner) : Owner(owner) { Owner->Temp = false; }

// The lease of `owner`: the live one, or a new one when `owner` is a
// temporary; nil for a cell somebody else owns.
static std::shared_ptr<OwnerLease> LeaseOf(VAR_* owner) {
    auto found = Leases().find(owner);
    if (found != Leases().end())
        if (auto lease = found->second.lock()) return lease;
    if (!owner->Temp) return nullptr;
    auto lease = std::make_shared<OwnerLease>(owner);
    Leases()[owner] = lease;
    return lease;
}

OwnerLease::~OwnerLease() {
    Leases().erase(Owner);
    Owner->Temp = true;
    if (Abandoned) Owner->Release();
}

std::shared_ptr<OwnerLease> LeaseOn(const VAR_* cell) {
    if (Leases().empty()) return nullptr;  // the usual case, and a hot path
    auto found = Leases().find(cell);
    return found == Leases().end() ? nullptr : found->second.lock();
}

void AbandonToMethods(std::shared_ptr<OwnerLease> lease) {
    if (lease) lease->Abandoned = true;
}

Function_::Function_() { Kind = TypeKind::Function; }

FunctionRecord* Function_::Record() { return static_cast<FunctionRecord*>(Cur->Data.ptr); }

FunctionRecord* FunctionRecordOf(VAR_* cell) {
    return cell && cell->Is(TypeKind::Function) ? static_cast<FunctionRecord*>(cell->Data.ptr) : nullptr;
}

CellData Function_::NewData() { return CellData{new FunctionRecord}; }

void Function_::FreeData(CellData& data) {
    delete static_cast<FunctionRecord*>(data.ptr);
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
    *target = *source;  // shares the lease: the owner lives while either does
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
    // A second method read from a leased owner joins its lease, so the
    // owner is given back once, after the last of them.
    if (owner) record->Lease = LeaseOf(owner);
    return cell;
}
