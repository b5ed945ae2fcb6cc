// Function: a callable value. A method value also remembers the owner
// cell its method works on; the owner is bound as its type's current cell
// for the length of each call.
//
// Ownership of a temporary owner: while a method value (or a copy of it)
// exists, its owner is not Temp, so consumers of the owner's expression
// leave it alone. The method value and its copies share one lease on the
// owner. When the last of them dies, the lease gives the owner back: it
// becomes Temp again for whoever still holds it to release, or, when its
// holder has already let go of it (AbandonToMethods), the lease destroys
// it. So a method value stored away keeps its owner exactly as long as
// it lives.
#pragma once

#include <memory>

#include "values/scriptvar.h"

struct OwnerLease;

struct FunctionRecord {
    MethodCode Code = nullptr;
    void* Object = nullptr;
    VAR_* Owner = nullptr;              // the cell the method works on, or nil
    std::shared_ptr<OwnerLease> Lease;  // set when the owner was a temporary
};

// The live lease on `cell`, or nil. Holding it keeps the cell leased (not
// Temp), so nobody else destroys it meanwhile.
std::shared_ptr<OwnerLease> LeaseOn(const VAR_* cell);
// Called by the holder of a temporary owner that lets go of it while
// method values still lease it: the last holder of the lease destroys it.
void AbandonToMethods(std::shared_ptr<OwnerLease> lease);

class Function_ : public Type_ {
public:
    Function_();
    CellData NewData() override;
    void FreeData(CellData& data) override;
    void CopyData(const CellData& src, CellData& dst) override;
    std::string GetTypeName() override;  // composed from CallOwner and CallName
    void SetCallName() override;         // leaves both unchanged
    std::string GetStr() override;
    bool IsNull() override;
    bool IsEmpty() override;
    VAR_* CallArgs(GrafVarArray* args) override;

protected:
    FunctionRecord* Record();
};

// The record of a Function cell (nil for a cell without one).
FunctionRecord* FunctionRecordOf(VAR_* cell);
