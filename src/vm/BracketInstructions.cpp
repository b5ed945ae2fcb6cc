// "(", "[" and ":[": calls and parenthesised groups, indexes and array
// constructors, ranges. Each collects its contents by sub-evaluations that
// stop after the next "," (or "..", ":>") or the closing bracket; the loop
// ends once the instruction before the index is a ")" / "]" or a ";".
#include <algorithm>
#include <memory>

#include "compiler/OpCodes.h"
#include "values/TypeHelpers.h"
#include "vm/Machine.h"
#include "vm/RuntimeState.h"
#include "vm/VmErrors.h"

namespace {

bool EndsContents(uint16_t code) { return code == opEnd || code == opClose; }

// Calls a value with an argument table: the callee's type names the call,
// then the callee runs bound as its type's current cell.
VAR_* CallValue(VAR_* callee, GrafVarArray* args) {
    callee->Bind();
    callee->Type->SetCallName();
    callee->Unbind();
    return callee->CallArgs(args);
}

}  // namespace

bool Machine::MoreElements() const {
    return Index < count_ && Index > 0 && !EndsContents(code_[Index - 1].opcode);
}

void Machine::OpenParen(Frame& f) {
    ++Index;
    if (f.Selector == kSelResZ) {
        f.Target = kTargetVariable;
        f.ResP.clear();
        f.DropContainer();
        f.Drop(f.R3);
        f.Drop(f.R4);
    }
    // For "()" the index already stands on the ")": nothing to collect and
    // no step back, or a following argument or element would be lost.
    bool ran = false;
    if (CodeAt(Index) != opClose) {
        while (MoreElements()) {
            ran = true;
            f.Par.push_back(nullptr);
            if (code_[Index].opcode == opComma) {
                f.Par.back() = NewNull();  // an omitted argument
                ++Index;
            } else {
                f.Par.back() = Execute(true);
            }
            DumpRegisters(f);
        }
    }
    if (ran) --Index;

    VAR_* callee = f.Current();
    if (callee) {
        const bool calleeWasTemp = callee->Temp;
        // The argument cells go to the table as they are (no copies).
        std::unique_ptr<GrafVarArray> args(
            GrafVarArray::MakeArgs(f.Par.data(), int(f.Par.size()) - 1, false, false));
        const std::vector<VAR_*> passed = std::move(f.Par);
        f.Par.clear();
        VAR_* result = Guarded(kMovError, [&] { return CallValue(callee, args.get()); });
        // A callee may answer with one of its arguments, which the table
        // is about to destroy.
        if (std::find(passed.begin(), passed.end(), result) != passed.end()) result = result->Copy();
        args.reset();
        MovDerived(f, result, calleeWasTemp);
        return;
    }
    VAR_* group = !f.Par.empty() && f.Par[0] ? f.Par[0]->Copy() : NewNull();
    for (VAR_* cell : f.Par)
        if (cell) cell->Release();
    f.Par.clear();
    Mov(f, group);
}

void Machine::OpenIndex(Frame& f) {
    ServeFlags(f);  // so that "abc"[1] indexes the expanded text
    ++Index;
    const bool statement = f.Selector == kSelResZ;
    if (statement) {
        f.Target = kTargetElement;
        f.ResP.clear();
        f.DropContainer();
        f.Drop(f.R4);
        if (RecordCurrentObject) RecordCurrentObject(f.ResZ);
    }
    bool ran = false;
    if (!f.Current()) {
        BuildArray(f, ran);
    } else {
        while (MoreElements()) {
            ran = true;
            if (statement) {
                f.Drop(f.R3);
                f.R3 = Execute(true);
                f.SetContainer(f.ResZ);
                f.ResZ = Guarded(kActError, [&] {
                    if (!f.ResA) return NewNull();
                    return f.R4 ? f.ResA->GetRange(f.R3, f.R4) : f.ResA->GetIndex(f.R3);
                });
            } else {
                VAR_* key = Execute(true);
                VAR_* owner = f.Current();
                const bool ownerWasTemp = owner->Temp;
                VAR_* value = nullptr;
                try {
                    value = Guarded(kMovError, [&] { return owner->GetIndex(key); });
                } catch (...) {
                    key->Release();
                    throw;
                }
                if (value != key) key->Release();
                MovDerived(f, value, ownerWasTemp);
            }
            DumpRegisters(f);
        }
    }
    if (ran) --Index;
}

// "[" with no value before it: a new array of the elements, each appended
// under the entry count, or under its key when written as key :> value.
void Machine::BuildArray(Frame& f, bool& ran) {
    VAR_* array = NewArray();
    try {
        GrafVarArray* table = TableOf(array);
        if (!EndsContents(CodeAt(Index))) {
            while (MoreElements()) {
                ran = true;
                TempRef value(Execute(true));
                if (CodeAt(Index - 1) == opPair) {
                    const std::string key = value->GetStr();
                    VAR_* element = Execute(true);
                    table->AddCell(key, element);
                } else {
                    VAR_* cell = value.release();
                    table->AddCell(std::to_string(table->Count), cell->Temp ? cell : cell->Copy());
                }
            }
        }
    } catch (...) {
        array->Release();
        throw;
    }
    Mov(f, array);
}

void Machine::OpenRange(Frame& f) {
    ServeFlags(f);
    ++Index;
    const bool statement = f.Selector == kSelResZ;
    if (statement) {
        f.Target = kTargetElement;
        f.ResP.clear();
        f.DropContainer();
        if (RecordCurrentObject) RecordCurrentObject(f.ResZ);
    }
    bool ran = false;
    while (MoreElements()) {
        ran = true;
        TempRef low(Execute(true));
        f.Separator = CodeAt(Index - 1);
        const bool bounded = f.Separator == opDotDot || f.Separator == opDotDotDot;
        TempRef high(bounded ? Execute(true) : low->Copy());
        if (statement) {
            f.Drop(f.R3);
            f.Drop(f.R4);
            f.SetContainer(f.ResZ);
            f.R3 = low.release();
            f.R4 = high.release();
            f.ResZ = Guarded(kActError, [&] { return f.ResA ? f.ResA->GetRange(f.R3, f.R4) : NewNull(); });
        } else {
            VAR_* owner = f.Current();
            const bool ownerWasTemp = owner && owner->Temp;
            VAR_* value = NewNull();
            if (owner) {
                value->Release();
                if (f.Separator == opDotDotDot) owner->ExclusiveEnd = true;
                value = Guarded(kMovError, [&] { return owner->GetRange(low.get(), high.get()); });
                if (value == low.get()) low.release();
                if (value == high.get()) high.release();
            }
            MovDerived(f, value, ownerWasTemp);
        }
    }
    if (ran) --Index;
}
