// Array: payload, conversions, indexing, ranges, iteration, calling and
// comparisons.
#include "values/ArrayType.h"

#include "values/TypeHelpers.h"

namespace {

// The position a range bound designates: a negative number counts from
// the end, anything else names an entry (the first or the last of that
// name); -1 when no entry has the name.
int BoundPosition(GrafVarArray& table, VAR_* bound, bool lastOfName) {
    const int64_t number = bound->GetInt();
    if (number < 0) return int(WrapNegative(number, table.Count));
    const std::string name = bound->GetStr();
    return lastOfName ? table.LastIndexOf(name) : table.IndexOf(name);
}

}  // namespace

bool IsArray(VAR_* cell) { return cell && dynamic_cast<Array_*>(cell->Type) != nullptr; }

void StoreByName(GrafVarArray& table, const std::string& name, VAR_* value) {
    if (table.Find(name)) {
        // The copy is made before the entry lets go of its old value: the
        // value may live inside it (a[0] = a[0][1]).
        TempRef copy(value->Temp ? nullptr : value->Copy());
        table.CurrentCell()->AssignFrom(copy.get() ? copy.get() : value);
        return;
    }
    table.AddCell(name, value->Temp ? value : value->Copy());
}

void AppendCounted(GrafVarArray& table, VAR_* value, bool front) {
    table.AddCell(std::to_string(table.Count), value->Temp ? value : value->Copy(), front);
}

Array_::Array_() = default;

GrafVarArray& Array_::Table() { return *static_cast<GrafVarArray*>(Cur->Data.ptr); }

CellData Array_::NewData() { return CellData{new GrafVarArray}; }

void Array_::FreeData(CellData& data) {
    delete static_cast<GrafVarArray*>(data.ptr);
    data.ptr = nullptr;
}

void Array_::CopyData(const CellData& src, CellData& dst) {
    delete static_cast<GrafVarArray*>(dst.ptr);
    dst.ptr = static_cast<const GrafVarArray*>(src.ptr)->Clone();
}

std::string Array_::GetTypeName() { return "Array"; }

void Array_::SetCallName() {
    CallOwner = "Array";
    CallName = "__";
}

std::string Array_::GetStr() { return Table().Dump(); }
void Array_::SetStr(const std::string&) {}
bool Array_::IsNull() { return false; }
bool Array_::IsEmpty() { return Table().Count == 0; }
int32_t Array_::Size() { return Table().Count; }

// Indexing by name.

VAR_* Array_::GetIndex(VAR_* key) {
    GrafVarArray& table = Table();
    return table.Find(key->GetStr()) ? table.CurrentCell() : NewNull();
}

void Array_::SetIndex(VAR_* key, VAR_* value) {
    VAR_* self = Cur;
    if (value == self) {  // an array stored into itself is stored as a copy
        TempRef copy(value->Copy());
        StoreByName(Table(), key->GetStr(), copy.get());
        return;
    }
    StoreByName(Table(), key->GetStr(), value);
}

VAR_* Array_::GetRange(VAR_* from, VAR_* to) {
    VAR_* self = Cur;
    const bool exclusive = self->ExclusiveEnd;
    self->ExclusiveEnd = false;
    GrafVarArray& table = Table();
    TempRef result(NewArray());
    if (table.Count == 0) return result.release();
    const int start = BoundPosition(table, from, false);
    int end = BoundPosition(table, to, true);
    if (exclusive) --end;
    GrafVarArray& target = *TableOf(result.get());
    for (int position = start; position <= end; ++position) {
        VAR_* cell = table.CellAt(position);
        if (!cell) {  // a position outside the table
            TempRef null(NewNull());
            StoreByName(target, "", null.get());
            continue;
        }
        TempRef copy(cell->Copy());
        StoreByName(target, table.CurrentName(), copy.get());
    }
    return result.release();
}

void Array_::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    Cur->ExclusiveEnd = false;
    GrafVarArray& table = Table();
    const int start = table.IndexOf(from->GetStr());
    const int end = table.LastIndexOf(to->GetStr());
    if (start < 0 || start >= end) return;
    for (int position = start; position <= end; ++position) {
        TempRef copy(value->Copy());
        table.CellAt(position)->Assign(copy.get());
    }
}

// Iteration through the table's cursor.

void Array_::First() { Table().First(); }
void Array_::Next() { Table().Next(); }
void Array_::Prev() { Table().Prev(); }
void Array_::Last() { Table().Last(); }
bool Array_::IsEOF() { return Table().Count == 0 || Table().Wrapped; }

VAR_* Array_::Element() {
    VAR_* cell = Table().CurrentCell();
    return cell ? cell : NewNull();
}

VAR_* Array_::GetPosition() { return NewStr(Table().CurrentName()); }

void Array_::SetPosition(VAR_* position) {
    GrafVarArray& table = Table();
    const int found = table.IndexOf(position->GetStr());
    if (found >= 0) table.Seek(found);
}

// a(name, ...): whether an entry exists for every name.
VAR_* Array_::CallArgs(GrafVarArray* args) {
    GrafVarArray& table = Table();
    const int count = args ? args->Count : 0;
    if (count == 0) return NewBool(false);
    CursorKeeper keep(table);
    bool all = true;
    for (int i = 0; i < count && all; ++i) all = table.IndexOf(ArgText(args, i)) >= 0;
    return NewBool(all);
}

// Comparisons by names: each entry against the other's entry of its name.

bool Array_::Equal(VAR_* arg) {
    if (!IsArray(arg)) return false;
    GrafVarArray& mine = Table();
    GrafVarArray& other = *TableOf(arg);
    if (mine.Count != other.Count) return false;
    CursorKeeper keepMine(mine);
    CursorKeeper keepOther(other);
    bool equal = true;
    for (int i = 0; i < mine.Count && equal; ++i) {
        VAR_* cell = mine.CellAt(i);
        const std::string name = mine.CurrentName();
        VAR_* match = other.IndexOf(name) >= 0 ? other.CurrentCell() : nullptr;
        TempRef null(match ? nullptr : NewNull());
        equal = cell->Equal(match ? match : null.get());
    }
    return equal;
}

bool Array_::NotEqual(VAR_* arg) {
    if (!IsArray(arg)) return true;
    GrafVarArray& mine = Table();
    GrafVarArray& other = *TableOf(arg);
    if (mine.Count != other.Count) return true;
    CursorKeeper keepMine(mine);
    CursorKeeper keepOther(other);
    bool differs = false;
    for (int i = 0; i < mine.Count && !differs; ++i) {
        VAR_* cell = mine.CellAt(i);
        const std::string name = mine.CurrentName();
        VAR_* match = other.IndexOf(name) >= 0 ? other.CurrentCell() : nullptr;
        TempRef null(match ? nullptr : NewNull());
        differs = cell->NotEqual(match ? match : null.get());
    }
    return differs;
}
