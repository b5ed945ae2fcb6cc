// Function: a callable value. A method value also remembers the owner
// cell its method works on; the owner is bound as its type's current cell
// for the length of each call.
//
// Ownership of a temporary owner: while a method value exists, its owner
// is not Temp (so consumers of the owner's expression leave it alone);
// when the method value's payload is freed, the owner becomes Temp again,
// and whoever still holds the owner releases it then. Only the method
// value made by the member lookup restores the flag; a copy of it does
// not, so the flag is restored once.
#pragma once

#include "values/scriptvar.h"

struct FunctionRecord {
    MethodCode Code = nullptr;
    void* Object = nullptr;
    VAR_* Owner = nullptr;       // the cell the method works on, or nil
    bool OwnerWasTemp = false;   // the owner's Temp flag before it was cleared
};

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
