// The members of a result value ("Cols", "Rows", "List", its column
// names) and what a selection asks of it as a tabular source.
#include "odbc/VarODBC.h"

#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

bool VarODBC::HasMethod(const std::string& name) {
    if (name == "Cols" || name == "Rows" || name == "List") return true;
    return Result().ColumnIndex(name) >= 0 || varBaseDB::HasMethod(name);
}

// Column names are matched without regard to ASCII letter case, and come
// before the members every value has, as a table's fields do.
VAR_* VarODBC::ReadMember(const std::string& name) {
    TODBC_Array& result = Result();
    if (name == "Cols") return NewInt(result.ColumnCount());
    if (name == "Rows") return NewInt(result.RowCount());
    if (name == "List") {
        VAR_* list = NewArray();
        GrafVarArray& table = *TableOf(list);
        for (int column = 0; column < result.ColumnCount(); ++column)
            table.AddCell(std::to_string(table.Count), NewStr(result.ColumnName(column)));
        return list;
    }
    const int column = result.ColumnIndex(name);
    if (column >= 0) return NewFromVariant(result.CellAt(column, result.Row));
    return nullptr;
}

VAR_* VarODBC::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (VAR_* member = ReadMember(name)) return member;
    }
    return varBaseDB::Method(name, arg, write);
}

// --- the result as a tabular source (columns numbered from 0) ---------------

void VarODBC::CollectRows(VAR_* selection) {
    TempRef low(NewInt(0));
    TempRef high(NewInt(int64_t(Result().RowCount()) - 1));
    VAR_* range = selection->GetRange(low.get(), high.get());
    if (range != selection) range->Release();
}

VAR_* VarODBC::LowRow() { return NewInt(0); }
VAR_* VarODBC::HighRow() { return NewInt(int64_t(Result().RowCount()) - 1); }
VAR_* VarODBC::FirstColumn() { return NewStr(Result().ColumnName(0)); }
VAR_* VarODBC::LastColumn() { return NewStr(Result().ColumnName(int64_t(Result().ColumnCount()) - 1)); }

int64_t VarODBC::ColumnNumberOf(const std::string& key) { return Result().ColumnIndex(key); }

std::string VarODBC::ColumnKeyOf(int64_t number) {
    return Result().Column(number) ? Result().ColumnName(number) : std::string();
}

int64_t VarODBC::HighestColumn() { return int64_t(Result().ColumnCount()) - 1; }

// The selection's source is its own copy of the result, so moving that
// copy's cursor does not move the script's.
VAR_* VarODBC::CellValue(SelectionData&, int64_t row, const std::string& columnKey) {
    TODBC_Array& result = Result();
    if (int64_t(result.Row) != row) result.Row = uint32_t(uint64_t(row));
    return NewFromVariant(result.CellAt(result.ColumnIndex(columnKey), result.Row));
}
