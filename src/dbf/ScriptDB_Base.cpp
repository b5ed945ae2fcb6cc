// varBaseDB: the range slots every tabular source shares, the reading of
// range bounds for sources with numbered columns, and the lists of a
// selection.
#include "dbf/ScriptDB_Base.h"

#include <algorithm>

#include "dbf/ScriptDB_Selection.h"
#include "values/TypeHelpers.h"

namespace {

bool IsAbsent(VAR_* bound) { return !bound || bound->Type == Types.Null; }
bool IsText(VAR_* bound) { return bound && bound->Type && bound->Type->Kind == TypeKind::String; }
bool IsInteger(VAR_* bound) { return bound && bound->Type && bound->Type->Kind == TypeKind::Int; }

int64_t NumberOfEntry(GrafNode* node) { return static_cast<VAR_*>(node->Value)->GetInt(); }

// A row bound below 0 counts back from the source's last row (-1 is it).
int64_t RowFromEnd(varBaseDB& source, int64_t bound) {
    if (bound >= 0) return bound;
    TempRef high(source.HighRow());
    return high->GetInt() + 1 + bound;
}

}  // namespace

// --- SelectionData -----------------------------------------------------

// The lists' own cursors are not visible to scripts (the selection's
// cursors are ColIndex and RowIndex), so positional lookups may move them.
int64_t SelectionData::ColumnNumberAt(int32_t index) {
    VAR_* cell = Columns.CellAt(index);
    return cell ? cell->GetInt() : 0;
}

std::string SelectionData::ColumnKeyAt(int32_t index) {
    if (index < 0 || index >= Columns.Count) return {};
    return Columns.NameAt(index);
}

int64_t SelectionData::RowNumberAt(int32_t index) {
    VAR_* cell = Rows.CellAt(index);
    return cell ? cell->GetInt() : 0;
}

void AddColumns(SelectionData& selection, varBaseDB& source, int64_t from, int64_t to) {
    from = std::max(from, source.LowestColumn());
    to = std::min(to, source.HighestColumn());
    for (int64_t n = from; n <= to; ++n) {
        const std::string key = source.ColumnKeyOf(n);
        if (key.empty() || selection.Columns.IndexOf(key) >= 0) continue;
        selection.Columns.AddCell(key, NewInt(n));
    }
}

void AddRows(SelectionData& selection, int64_t from, int64_t to) {
    if (to < from) return;
    GrafVarArray& rows = selection.Rows;
    if (to - from + 1 > kMaxSelectionEntries - rows.Count)
        throw ScriptError("Selection too large: rows " + std::to_string(from) + ".." + std::to_string(to));
    for (int64_t n = from; n <= to; ++n) {
        const bool above = rows.Count == 0 || n > NumberOfEntry(rows.Head->PrevNode);
        std::string key = std::to_string(n);
        if (!(above && selection.RowsAscending)) {
            if (rows.IndexOf(key) >= 0) continue;
            if (!above) selection.RowsAscending = false;
        }
        rows.AddCell(std::move(key), NewInt(n));
    }
}

varBaseDB* SourceTypeOf(VAR_* cell) { return cell && cell->Type ? dynamic_cast<varBaseDB*>(cell->Type) : nullptr; }

VAR_* NewSelection(VAR_* source, bool temp) {
    VAR_* cell = VAR_::Create(BaseDBType, temp);
    SelectionData* selection = SelectionOf(cell);
    selection->Source = source->Copy();
    selection->Source->Temp = false;
    if (varBaseDB* type = SourceTypeOf(selection->Source)) {
        CellBinding bound(selection->Source);
        selection->Sheet = type->CurrentSheet();
    }
    return cell;
}

// --- varBaseDB -----------------------------------------------------------

// A range of a source is a new selection over it; the exclusive end has
// no meaning for rows and columns and is dropped.
VAR_* varBaseDB::GetRange(VAR_* from, VAR_* to) {
    Cur->ExclusiveEnd = false;
    TempRef selection(NewSelection(Cur, true));
    VAR_* result = selection->GetRange(from, to);
    if (result == selection.get()) selection.release();
    return result;
}

void varBaseDB::SetRange(VAR_* from, VAR_* to, VAR_* value) {
    Cur->ExclusiveEnd = false;
    TempRef selection(NewSelection(Cur, true));
    selection->SetRange(from, to, value);
}

VAR_* varBaseDB::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (name == "Low") return LowRow();
        if (name == "High") return HighRow();
    }
    return DefaultMethod(name, arg, write);
}

bool varBaseDB::HasMethod(const std::string& name) {
    return name == "Low" || name == "High" || DefaultHasMethod(name);
}

VAR_* varBaseDB::Element() { return Cur; }

// Bounds of a range over numbered columns:
//   no bounds       all columns
//   text .. text    the columns named, in number order
//   text .. -k      from the named column to the k-th column from the end
//   text .. k >= 0  up to column 0
//   numbers         rows; negative ones count back from the last row
void varBaseDB::SelectRange(SelectionData& selection, VAR_* from, VAR_* to) {
    if (IsAbsent(from) && IsAbsent(to)) {
        TempRef first(FirstColumn());
        TempRef last(LastColumn());
        AddColumns(selection, *this, ColumnNumberOf(first->GetStr()), ColumnNumberOf(last->GetStr()));
        return;
    }
    if (IsText(from)) {
        const int64_t first = ColumnNumberOf(from->GetStr());
        int64_t last = 0;
        if (!IsInteger(to))
            last = ColumnNumberOf(to ? to->GetStr() : std::string());
        else if (to->GetInt() < 0)
            last = ColumnTotal() + to->GetInt();
        AddColumns(selection, *this, first, last);
        return;
    }
    const int64_t first = RowFromEnd(*this, from ? from->GetInt() : 0);
    const int64_t last = RowFromEnd(*this, to ? to->GetInt() : 0);
    AddRows(selection, first, last);
}

void varBaseDB::StoreCell(SelectionData&, int64_t, const std::string&, VAR_*) {}

void varBaseDB::EndRow(SelectionData&) {}

VAR_* varBaseDB::IndexThrough(SelectionData&, VAR_* key) { return Cur->GetIndex(key); }

void varBaseDB::StoreThrough(SelectionData&, VAR_*, VAR_*) {}

// --- ClassCreator ------------------------------------------------------

ClassCreator::ClassCreator(std::string typeName, std::string ownerName)
    : typeName_(std::move(typeName)), ownerName_(std::move(ownerName)) {}

std::string ClassCreator::GetTypeName() { return typeName_; }

void ClassCreator::SetCallName() {
    CallOwner = ownerName_;
    CallName = "";
}
