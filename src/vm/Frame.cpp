// Register bookkeeping of one activation: which register the selector
// names, and releasing cells without destroying one that another register
// (or a value read out of it) still needs.
#include "vm/Machine.h"

#include <algorithm>

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

// A temporary leased to method values (they cleared its Temp flag) is
// handed over to them as the frame lets go of it, once the frame is done
// with all its cells: the lease keeps the cell alive until then.
static void LetGo(VAR_* cell, std::vector<std::shared_ptr<OwnerLease>>& handOver) {
    if (cell->Temp) cell->Release();
    else if (auto lease = LeaseOn(cell)) handOver.push_back(std::move(lease));
}

void Frame::Drop(VAR_*& reg) {
    VAR_* cell = reg;
    reg = nullptr;
    if (!cell || Holds(cell)) return;
    if (cell->Temp) cell->Release();
    else if (LeaseOn(cell) && std::find(KeepAlive.begin(), KeepAlive.end(), cell) == KeepAlive.end())
        KeepAlive.push_back(cell);  // handed over at the statement's end
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
    std::vector<std::shared_ptr<OwnerLease>> handOver;
    ResA = ResZ = R1 = R2 = R3 = R4 = nullptr;
    for (int i = 0; i < 6; ++i) {
        if (!cells[i]) continue;
        bool seen = false;
        for (int j = 0; j < i; ++j) seen = seen || cells[j] == cells[i];
        if (!seen) LetGo(cells[i], handOver);
    }
    for (VAR_* cell : Par)
        if (cell) LetGo(cell, handOver);
    Par.clear();
    // A parked temporary may be leased to method values meanwhile (they
    // clear its Temp flag); LetGo hands those over. Last parked first.
    for (auto cell = KeepAlive.rbegin(); cell != KeepAlive.rend(); ++cell) LetGo(*cell, handOver);
    KeepAlive.clear();
    for (auto& lease : handOver) AbandonToMethods(std::move(lease));
    StrZ = Str1 = Str2 = false;
    ResP.clear();
    StatementOp = PendingOp = Separator = 0;
    Selector = Sub ? kSelR1 : kSelResZ;
    Target = kTargetVariable;
}
