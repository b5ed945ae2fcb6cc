// Array operators: appending and prepending, set operations by name
// between arrays, size tests against an Int, rotation and reversal.
#include <unordered_set>

#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

namespace {

// The operand as it is stored: a temporary is taken over, anything else
// (and the array itself) is copied.
void Append(GrafVarArray& table, VAR_* self, VAR_* operand, bool front) {
    if (operand == self) {
        TempRef copy(operand->Copy());
        AppendCounted(table, copy.get(), front);
        return;
    }
    AppendCounted(table, operand, front);
}

// What a union or merge reads from: a temporary operand as it is; a
// variable is copied first, since it may be this array or one of its
// entries and change while it is read.
VAR_* Snapshot(VAR_* arg) { return arg->Temp ? nullptr : arg->Copy(); }

// Appends a copy of a value under a name.
void AddCopy(GrafVarArray& table, const std::string& name, VAR_* value) {
    table.AddCell(name, value->Copy());
}

}  // namespace

VAR_* Array_::Add(VAR_* arg) {
    Append(Table(), Cur, arg, false);
    return Cur;
}

VAR_* Array_::Sub(VAR_* arg) {
    Append(Table(), Cur, arg, true);
    return Cur;
}

// Intersection by name: entries whose name the other array lacks go.
VAR_* Array_::BitAnd(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        self->MakeBool(int64_t(Table().Count) == arg->GetInt());
        return self;
    }
    if (!IsArray(arg) || arg == self) return self;
    // The other array's names are taken first: it may be an entry of this
    // one and go with the deletions.
    std::unordered_set<std::string> names;
    {
        GrafVarArray& other = *TableOf(arg);
        GrafNode* node = other.Head;
        for (int i = 0; i < other.Count; ++i, node = node->NextNode) names.insert(node->Name);
    }
    GrafVarArray& table = Table();
    for (int position = 0; position < table.Count;) {
        if (!names.contains(table.NameAt(position)))
            table.DeleteAt(position);  // the next entry moves into this position
        else
            ++position;
    }
    return self;
}

// The other array's entries by name: an unnamed one is appended; a named
// one is added where this array lacks the name, and with `otherWins` also
// replaces the value of the entry that has it.
static void CombineByName(VAR_* self, VAR_* arg, bool otherWins) {
    TempRef snapshot(Snapshot(arg));
    GrafVarArray& other = *TableOf(snapshot.get() ? snapshot.get() : arg);
    GrafVarArray& table = *TableOf(self);
    CursorKeeper keepOther(other);
    const int count = other.Count;
    for (int i = 0; i < count; ++i) {
        VAR_* value = other.CellAt(i);
        const std::string name = other.CurrentName();
        const int existing = name.empty() ? -1 : table.IndexOf(name);
        if (existing < 0) {
            AddCopy(table, name.empty() ? std::to_string(table.Count) : name, value);
        } else if (otherWins) {
            TempRef copy(value->Copy());
            table.CellAt(existing)->Assign(copy.get());
        }
    }
}

// Union by name: this array's entries win.
VAR_* Array_::BitOr(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        self->MakeBool(int64_t(Table().Count) == arg->GetInt());
        return self;
    }
    if (IsArray(arg)) CombineByName(self, arg, false);
    return self;
}

// Merge by name: the other array's entries win.
VAR_* Array_::BitXor(VAR_* arg) {
    VAR_* self = Cur;
    if (arg->Is(TypeKind::Int)) {
        self->MakeBool(int64_t(Table().Count) == arg->GetInt());
        return self;
    }
    if (IsArray(arg)) CombineByName(self, arg, true);
    return self;
}

VAR_* Array_::Inc() {
    Table().Rotate(1);
    return Cur;
}

VAR_* Array_::Dec() {
    Table().Rotate(-1);
    return Cur;
}

VAR_* Array_::Neg() {
    Table().Reverse();
    return Cur;
}
