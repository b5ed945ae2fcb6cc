// BaseDB: the slots of a selection, its cell walk, and the assignment of a
// selection, an array or a single value to it.
#include "dbf/ScriptDB_Selection.h"

#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

BaseDB* BaseDBType = nullptr;

SelectionData* SelectionOf(VAR_* cell) {
    if (!cell || !BaseDBType || cell->Type != BaseDBType) return nullptr;
    return static_cast<SelectionData*>(cell->Data.ptr);
}

namespace {

// --- the cell walk -------------------------------------------------------

bool AtEnd(const SelectionData& s) { return s.RowIndex < 0 || s.RowIndex > s.RowCount() - 1; }
bool ColumnInside(const SelectionData& s) { return s.ColIndex >= 0 && s.ColIndex < s.ColumnCount(); }
bool PastColumns(const SelectionData& s) { return s.ColIndex >= s.ColumnCount(); }

void StepFirst(SelectionData& s) { s.ColIndex = 0, s.RowIndex = 0; }

void StepNext(SelectionData& s) {
    if (!ColumnInside(s)) {
        ++s.RowIndex;
        s.ColIndex = 0;
    } else {
        ++s.ColIndex;
    }
}

void StepPrev(SelectionData& s) {
    if (!ColumnInside(s)) {
        --s.RowIndex;
        s.ColIndex = s.ColumnCount() - 1;
    } else {
        --s.ColIndex;
    }
}

// --- what the source is asked ----------------------------------------------

VAR_* ValueAt(SelectionData& s) {
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source || AtEnd(s) || !ColumnInside(s)) return NewNull();
    CellBinding bound(s.Source);
    return source->CellValue(s, s.RowNumberAt(s.RowIndex), s.ColumnKeyAt(s.ColIndex));
}

void StoreAt(SelectionData& s, VAR_* value) {
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source || AtEnd(s) || !ColumnInside(s)) return;
    CellBinding bound(s.Source);
    source->StoreCell(s, s.RowNumberAt(s.RowIndex), s.ColumnKeyAt(s.ColIndex), value);
}

void FinishRow(SelectionData& s) {
    if (varBaseDB* source = SourceTypeOf(s.Source)) {
        CellBinding bound(s.Source);
        source->EndRow(s);
    }
    StepNext(s);
}

// A row that an assignment filled only in part is written all the same.
void WritePartialRow(SelectionData& s) {
    if (!AtEnd(s) && s.ColIndex > 0 && s.ColIndex < s.ColumnCount()) FinishRow(s);
}

// Columns default to all the source's columns (added to this selection),
// rows to the source's current row.
void FillDefaultsOf(SelectionData& s) {
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source) return;
    if (s.Columns.Count == 0) {
        CellBinding bound(s.Source);
        TempRef first(source->FirstColumn());
        TempRef last(source->LastColumn());
        source->SelectRange(s, first.get(), last.get());
    }
    if (s.Rows.Count == 0) {
        TempRef position(s.Source->GetPosition());
        const int64_t row = position->GetInt();
        AddRows(s, row, row);
    }
}

// total := total + value, keeping the cell the operator returns.
void AddInto(VAR_*& total, VAR_* value) {
    VAR_* result = total->Add(value);
    if (result != total) {
        total->Release();
        total = result;
    }
}

void DestroyCell(VAR_*& cell) {
    if (!cell) return;
    cell->Temp = true;
    cell->Release();
    cell = nullptr;
}

VAR_* FilterCode(void* type, GrafVarArray* args) { return static_cast<BaseDB*>(type)->Filter(args); }

}  // namespace

BaseDB::BaseDB() { Kind = TypeKind::Object; }

void BaseDB::Create() {
    Object_::Create();
    Methods.AddMethod("Filter", FilterCode, this);
}

SelectionData& BaseDB::Data() { return *static_cast<SelectionData*>(Cur->Data.ptr); }

// --- payload -------------------------------------------------------------

CellData BaseDB::NewData() {
    CellData data;
    data.ptr = new SelectionData;
    return data;
}

void BaseDB::FreeData(CellData& data) {
    auto* selection = static_cast<SelectionData*>(data.ptr);
    if (selection) DestroyCell(selection->Source);
    delete selection;
    data.ptr = nullptr;
}

void BaseDB::CopyData(const CellData& src, CellData& dst) {
    const auto* from = static_cast<const SelectionData*>(src.ptr);
    auto* to = static_cast<SelectionData*>(dst.ptr);
    if (!from || !to) return;
    to->Columns.Clear();
    to->Rows.Clear();
    from->Columns.CloneInto(to->Columns);
    from->Rows.CloneInto(to->Rows);
    to->ColIndex = from->ColIndex;
    to->RowIndex = from->RowIndex;
    to->Sheet = from->Sheet;
    to->RowsAscending = from->RowsAscending;
    DestroyCell(to->Source);
    if (from->Source) {
        to->Source = from->Source->Copy();
        to->Source->Temp = false;
    }
}

std::string BaseDB::GetTypeName() { return "BaseDB"; }

void BaseDB::SetCallName() {
    CallOwner = "BaseDB";
    CallName = "";
}

// --- indexing and ranges ---------------------------------------------------

VAR_* BaseDB::GetIndex(VAR_* key) {
    SelectionData& s = Data();
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source) return NewNull();
    CellBinding bound(s.Source);
    return source->IndexThrough(s, key);
}

void BaseDB::SetIndex(VAR_* key, VAR_* value) {
    SelectionData& s = Data();
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source) return;
    CellBinding bound(s.Source);
    source->StoreThrough(s, key, value);
}

VAR_* BaseDB::GetRange(VAR_* from, VAR_* to) {
    Cur->ExclusiveEnd = false;
    SelectionData& s = Data();
    if (varBaseDB* source = SourceTypeOf(s.Source)) {
        CellBinding bound(s.Source);
        source->SelectRange(s, from, to);
    }
    return Cur;
}

void BaseDB::AddRange(int which, VAR_* from, VAR_* to) {
    SelectionData& s = Data();
    varBaseDB* source = SourceTypeOf(s.Source);
    if (!source) return;
    if (which == 1) return AddRows(s, from ? from->GetInt() : 0, to ? to->GetInt() : 0);
    CellBinding bound(s.Source);
    auto number = [&](VAR_* bound) -> int64_t {
        if (!bound) return 0;
        if (bound->Type && bound->Type->Kind == TypeKind::String) return source->ColumnNumberOf(bound->GetStr());
        return bound->GetInt();
    };
    AddColumns(s, *source, number(from), number(to));
}

void BaseDB::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    VAR_* self = Cur;
    GetRange(from, to);
    SelectionData& s = *SelectionOf(self);
    FillDefaultsOf(s);
    if (s.ColumnCount() == 0 || !value) return;
    if (SelectionOf(value))
        AssignSelection(value);
    else if (IsArray(value))
        AssignArray(value);
    else
        AssignScalar(value);
}

// Cells are copied pairwise in walk order; each side skips its own
// between-rows position.
void BaseDB::AssignSelection(VAR_* other) {
    SelectionData& here = Data();
    SelectionData& there = *SelectionOf(other);
    FillDefaultsOf(there);
    StepFirst(here);
    StepFirst(there);
    while (!AtEnd(there) && !AtEnd(here)) {
        TempRef value(ValueAt(there));
        StepNext(there);
        StoreAt(here, value.get());
        StepNext(here);
        if (PastColumns(here)) FinishRow(here);
        if (PastColumns(there)) StepNext(there);
    }
    WritePartialRow(here);
}

// The array's values fill the cells in walk order until either runs out.
void BaseDB::AssignArray(VAR_* array) {
    SelectionData& here = Data();
    StepFirst(here);
    array->First();
    while (!array->IsEOF() && !AtEnd(here)) {
        TempRef element(array->Element());
        StoreAt(here, element.get());
        StepNext(here);
        array->Next();
        if (PastColumns(here)) FinishRow(here);
    }
    WritePartialRow(here);
}

void BaseDB::AssignScalar(VAR_* value) {
    SelectionData& here = Data();
    StepFirst(here);
    while (!AtEnd(here)) {
        StoreAt(here, value);
        StepNext(here);
        if (PastColumns(here)) FinishRow(here);
    }
}


// --- text, members, cursor ---------------------------------------------------

std::string BaseDB::GetStr() {
    SelectionData& s = Data();
    std::string text = Cur->TypeName + "(" + std::to_string(s.ColIndex + 1) + "/" + std::to_string(s.ColumnCount()) +
                       "," + std::to_string(s.RowIndex + 1) + "/" + std::to_string(s.RowCount()) + " " + s.Sheet +
                       ": ";
    text += s.Source ? s.Source->GetStr() : std::string("Null");
    return text + ")";
}

VAR_* BaseDB::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (name == "Sum") return Sum();
        if (name == "AllRow") return AllRow();
    }
    return DefaultMethod(name, arg, write);
}

bool BaseDB::HasMethod(const std::string& name) {
    return name == "Sum" || name == "AllRow" || DefaultHasMethod(name);
}

VAR_* BaseDB::GetPosition() {
    SelectionData& s = Data();
    return s.Source ? s.Source->GetPosition() : NewNull();
}

void BaseDB::SetPosition(VAR_* position) {
    SelectionData& s = Data();
    if (s.Source) s.Source->SetPosition(position);
}

VAR_* BaseDB::Element() { return Cur; }
bool BaseDB::IsEOF() { return AtEnd(Data()); }
void BaseDB::First() { StepFirst(Data()); }
void BaseDB::Next() { StepNext(Data()); }
void BaseDB::Prev() { StepPrev(Data()); }

void BaseDB::Last() {
    SelectionData& s = Data();
    s.ColIndex = s.ColumnCount() - 1;
    s.RowIndex = s.RowCount() - 1;
}

// --- internal operations -----------------------------------------------------

VAR_* BaseDB::CellValue() { return ValueAt(Data()); }
void BaseDB::StoreCell(VAR_* value) { StoreAt(Data(), value); }
void BaseDB::EndRow() { FinishRow(Data()); }
void BaseDB::FillDefaults() { FillDefaultsOf(Data()); }

// The cells added up in walk order: numbers sum, texts concatenate; Null
// when the selection has no cell. Empty (Null) cells add nothing, so that
// an empty first cell of a sheet does not make the whole sum Null.
VAR_* BaseDB::Sum() {
    SelectionData& s = Data();
    VAR_* total = nullptr;
    try {
        for (StepFirst(s); !AtEnd(s); StepNext(s)) {
            if (!ColumnInside(s)) continue;
            TempRef value(ValueAt(s));
            if (value->Type == Types.Null) continue;
            if (!total)
                total = value.release();
            else
                AddInto(total, value.get());
        }
    } catch (...) {
        if (total) total->Release();
        throw;
    }
    return total ? total : NewNull();
}

VAR_* BaseDB::AllRow() {
    VAR_* self = Cur;
    SelectionData& s = Data();
    if (varBaseDB* source = SourceTypeOf(s.Source)) {
        CellBinding bound(s.Source);
        source->CollectRows(self);
    }
    return self;
}
