// The Array methods, called through method values ("a.Push(1, 2)"): the
// owner array is the current cell of the Array type while they run.
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

VAR_* Owner(void* type) { return static_cast<Type_*>(type)->Cur; }
GrafVarArray& OwnerTable(void* type) { return *TableOf(Owner(type)); }
int ArgCount(GrafVarArray* args) { return args ? args->Count : 0; }

// Appends a copy of each argument; cursor to the first entry.
VAR_* Push(void* type, GrafVarArray* args) {
    GrafVarArray& table = OwnerTable(type);
    for (int i = 0; i < ArgCount(args); ++i) table.AddCell(std::to_string(table.Count), args->CellAt(i)->Copy());
    table.First();
    return Owner(type);
}

// Inserts copies in front so that they end up first in argument order:
// the last argument goes in first and each is named by the count then.
VAR_* UnShift(void* type, GrafVarArray* args) {
    GrafVarArray& table = OwnerTable(type);
    for (int i = ArgCount(args); i-- > 0;)
        table.AddCell(std::to_string(table.Count), args->CellAt(i)->Copy(), true);
    table.First();
    return Owner(type);
}

VAR_* IsName(void* type, GrafVarArray* args) {
    GrafVarArray& table = OwnerTable(type);
    CursorKeeper keep(table);
    return NewBool(table.IndexOf(ArgText(args, 0)) >= 0);
}

VAR_* Join(void* type, GrafVarArray* args) { return NewStr(OwnerTable(type).Join(ArgText(args, 0))); }

// Each value's text split at the separator; keyed, the first piece names
// the sub-array and the others are numbered from 0.
VAR_* SplitAll(void* type, GrafVarArray* args) {
    GrafVarArray& table = OwnerTable(type);
    const std::string separator = ArgText(args, 0);
    VAR_* keyedArg = ArgAt(args, 1);
    const bool keyed = keyedArg && keyedArg->GetBool();
    TempRef result(NewArray());
    GrafVarArray& target = *TableOf(result.get());
    for (const std::string& text : table.ValueTexts()) {
        TextList pieces = SplitText(text, separator);
        std::string name = std::to_string(target.Count);
        size_t first = 0;
        if (keyed) {
            name = pieces[0];
            first = 1;
        }
        VAR_* sub = NewArray();
        GrafVarArray& subTable = *TableOf(sub);
        for (size_t i = first; i < pieces.size(); ++i) subTable.AddCell(std::to_string(subTable.Count), NewStr(pieces[i]));
        target.AddCell(std::move(name), sub);
    }
    return result.release();
}

// One entry per entry of the owner, taking the arguments in turn (Null
// when there are none); `valuesAsNames` names the entries by the owner's
// value texts, else by its names.
VAR_* Rebuild(void* type, GrafVarArray* args, bool valuesAsNames) {
    GrafVarArray& table = OwnerTable(type);
    CursorKeeper keep(table);
    const int count = ArgCount(args);
    TempRef result(NewArray());
    GrafVarArray& target = *TableOf(result.get());
    for (int i = 0; i < table.Count; ++i) {
        VAR_* cell = table.CellAt(i);
        std::string name = valuesAsNames ? cell->GetStr() : table.CurrentName();
        VAR_* value = count > 0 ? args->CellAt(i % count)->Copy() : NewNull();
        target.AddCell(std::move(name), value);
    }
    return result.release();
}

VAR_* ReKeys(void* type, GrafVarArray* args) { return Rebuild(type, args, true); }
VAR_* ReVal(void* type, GrafVarArray* args) { return Rebuild(type, args, false); }

}  // namespace

void Array_::Create() {
    Object_::Create();
    Methods.AddMethod("Push", Push, this);
    Methods.AddMethod("UnShift", UnShift, this);
    Methods.AddMethod("IsName", IsName, this);
    Methods.AddMethod("Join", Join, this);
    Methods.AddMethod("SplitAll", SplitAll, this);
    Methods.AddMethod("ReKeys", ReKeys, this);
    Methods.AddMethod("ReVal", ReVal, this);
}
