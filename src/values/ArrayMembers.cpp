// Array members: ends, stack and queue access, keys, sum, clone, sorting,
// entries read as members, and compaction.
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

namespace {

const char* const kMemberNames[] = {"Low",  "High", "Pop",   "Shift",   "Left",    "Right",  "LKey",
                                    "RKey", "Keys", "Sum",   "Clone",   "SortKey", "SortVal", "Compact"};

// Removes the entry at a position and gives its value as a temporary;
// Null for an empty array. The cursor goes to the first entry.
VAR_* TakeAt(GrafVarArray& table, int position) {
    VAR_* cell = table.CellAt(position);
    if (!cell) return NewNull();
    VAR_* value = cell->Copy();
    table.DeleteAt(position);
    return value;
}

VAR_* CellOrNull(VAR_* cell) { return cell ? cell : NewNull(); }

VAR_* KeysOf(GrafVarArray& table) {
    VAR_* result = NewArray();
    GrafVarArray& keys = *TableOf(result);
    CursorKeeper keep(table);
    for (int i = 0; i < table.Count; ++i) keys.AddCell(std::to_string(i), NewStr(table.NameAt(i)));
    return result;
}

// The first value's type decides how the others add (numbers add, texts
// concatenate).
VAR_* SumOf(GrafVarArray& table) {
    if (table.Count == 0) return NewNull();
    CursorKeeper keep(table);
    TempRef sum(table.CellAt(0)->Copy());
    for (int i = 1; i < table.Count; ++i) {
        VAR_* result = sum->Add(table.CellAt(i));
        if (result != sum.get()) sum.reset(result);
    }
    return sum.release();
}

VAR_* CloneOf(GrafVarArray& table) {
    VAR_* result = NewArray();
    delete TableOf(result);
    result->Data.ptr = table.Clone();
    return result;
}

// Copies of the entries whose value is not of the Null type.
VAR_* CompactOf(GrafVarArray& table) {
    VAR_* result = NewArray();
    GrafVarArray& kept = *TableOf(result);
    CursorKeeper keep(table);
    for (int i = 0; i < table.Count; ++i) {
        VAR_* cell = table.CellAt(i);
        if (cell->Type != Types.Null) kept.AddCell(table.CurrentName(), cell->Copy());
    }
    return result;
}

int CompareValueTexts(void* a, void* b, const std::string&, const std::string&) {
    const int c = static_cast<VAR_*>(a)->GetStr().compare(static_cast<VAR_*>(b)->GetStr());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

VAR_* Array_::ListMember(const std::string& name) {
    GrafVarArray& table = Table();
    const int last = table.Count - 1;
    if (name == "Low" || name == "LKey") return NewStr(table.NameAt(0));
    if (name == "High" || name == "RKey") return NewStr(table.NameAt(last));
    if (name == "Pop") return TakeAt(table, last);
    if (name == "Shift") return TakeAt(table, 0);
    if (name == "Left") return CellOrNull(table.CellAt(0));
    if (name == "Right") return CellOrNull(table.CellAt(last));
    if (name == "Keys") return KeysOf(table);
    if (name == "Sum") return SumOf(table);
    if (name == "Clone") return CloneOf(table);
    if (name == "SortKey") {
        table.SortByName();
        return Cur;
    }
    if (name == "SortVal") {
        table.SortWith(CompareValueTexts);
        return Cur;
    }
    return nullptr;
}

VAR_* Array_::Method(const std::string& name, VAR_* arg, bool write) {
    GrafVarArray& table = Table();
    if (write) {
        const int entry = table.IndexOf(name);
        if (entry < 0) return DefaultMethod(name, arg, write);
        VAR_* cell = table.CellAt(entry);
        // Copied first: the value may be the array itself or live inside the entry.
        TempRef copy(arg->Temp ? nullptr : arg->Copy());
        cell->AssignFrom(copy.get() ? copy.get() : arg);
        return cell;
    }
    if (VAR_* member = ListMember(name)) return member;
    if (name == "Compact") return CompactOf(table);
    if (VAR_* entry = table.IndexOf(name) >= 0 ? table.CurrentCell() : nullptr) return entry;
    return DefaultMethod(name, arg, write);
}

bool Array_::HasMethod(const std::string& name) {
    for (const char* member : kMemberNames)
        if (name == member) return true;
    GrafVarArray& table = Table();
    CursorKeeper keep(table);
    return table.IndexOf(name) >= 0 || DefaultHasMethod(name);
}
