// Register bookkeeping of one activation: which register the selector
// names, and releasing cells without destroying one that another register
// (or a value read out of it) still needs.
#include "vm/Machine.h"

#include <algorithm>

#include "values/FunctionType.h"

#include "values/FunctionType.h"

VAR_*& Frame::Current() {
    switch (Selector) {
    case kSelResZ: return ResZ;
    case kSelR1: return R1;
    case kSelR2: return R2;
    default:
        if (Par.empty()) Par.push_back(nullptr);
        return Par.back();
    }
}

void Frame::Drop(VAR_*& reg) {
    VAR_* cell = reg;
    reg = nullptr;
    if (cell && !Holds(cell)) cell->Release();
}

// A method value read from a temporary keeps that temporary alive by
// clearing its Temp flag, and sets the flag again when it dies: the
// temporary is still ours to release once that has happened.
bool Frame::LentToMethod(const VAR_* cell) const {
    for (VAR_* reg : {ResZ, R1, R2, R3, R4}) {
        const FunctionRecord* record = FunctionRecordOf(reg);
        if (record && record->Owner == cell && record->OwnerWasTemp) return true;
    }
    return false;
}

void Frame::DropContainer() {
    VAR_* cell = ResA;
    const bool owned = ResAOwned;
    ResA = nullptr;
    ResAOwned = false;
    if (cell && (owned || cell->Temp) && !Holds(cell)) KeepAlive.push_back(cell);
}

void Frame::SetContainer(VAR_* cell) {
    DropContainer();
    ResA = cell;
    ResAOwned = cell && cell->Temp;
}

void Frame::KeepOwnerOf(VAR_* value) {
    // Only the Function type's own cells hold a method record (an Include
    // is a function value with another payload).
    if (KeepAlive.empty() || !value || value->Type != Types.Function) return;
    const FunctionRecord* record = FunctionRecordOf(value);
    if (!record || !record->Owner) return;
    KeepAlive.erase(std::remove(KeepAlive.begin(), KeepAlive.end(), record->Owner), KeepAlive.end());
}

VAR_* Frame::TakeOwned(VAR_*& reg) {
    VAR_* cell = reg;
    reg = nullptr;
    if (!cell) return NewNull();
    if (cell->Temp && !Holds(cell)) return cell;
    return cell->Copy();
}

void Frame::ReleaseAll() {
    DropContainer();  // parked: it may hold what the other registers show
    // Each distinct cell once (a cell may sit in two registers), and the
    // container ResA last: ResZ may be a cell stored inside it.
    VAR_* cells[6] = {ResZ, R1, R2, R3, R4, ResA};
    ResA = ResZ = R1 = R2 = R3 = R4 = nullptr;
    for (int i = 0; i < 6; ++i) {
        if (!cells[i]) continue;
        bool seen = false;
        for (int j = 0; j < i; ++j) seen = seen || cells[j] == cells[i];
        if (!seen) cells[i]->Release();
    }
    for (VAR_* cell : Par)
        if (cell) cell->Release();
    Par.clear();
    // A parked temporary may have been handed on meanwhile (a method value
    // keeps its owner by clearing the owner's Temp flag): only those that
    // are still temporaries are ours to release. Last parked first: a
    // method value parked after its owner gives the owner back as it dies.
    for (auto cell = KeepAlive.rbegin(); cell != KeepAlive.rend(); ++cell)
        if ((*cell)->Temp) (*cell)->Release();
    KeepAlive.clear();
    StrZ = Str1 = Str2 = false;
    ResP.clear();
    StatementOp = PendingOp = Separator = 0;
    Selector = Sub ? kSelR1 : kSelResZ;
    Target = kTargetVariable;
}
