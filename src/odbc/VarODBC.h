// VarODBC: the result of one query as a script value (type name "ODBC").
// A result cell owns its TODBC_Array; copies of the cell share the rows
// (they are read-only) and each has its own row cursor. Results are
// tabular sources: ranges, "Filter", "Sum" and "AllRow" of the selections
// work on them, and cells are read by column name or column number in the
// current row.
#pragma once

#include "dbf/ScriptDB_Base.h"
#include "odbc/ODBC_Array.h"

class VarODBC : public varBaseDB {
public:
    VarODBC();
    void Create() override;

    VAR_* GetIndex(VAR_* key) override;
    std::string GetStr() override;
    CellData NewData() override;
    std::string GetTypeName() override;
    void FreeData(CellData& data) override;
    VAR_* CallArgs(GrafVarArray* args) override;
    void SetCallName() override;
    void CopyData(const CellData& src, CellData& dst) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    int32_t Size() override;
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

    void CollectRows(VAR_* selection) override;
    VAR_* LowRow() override;
    VAR_* HighRow() override;
    VAR_* FirstColumn() override;
    VAR_* LastColumn() override;

    int64_t ColumnNumberOf(const std::string& key) override;
    std::string ColumnKeyOf(int64_t number) override;
    int64_t HighestColumn() override;
    VAR_* CellValue(SelectionData& selection, int64_t row, const std::string& columnKey) override;

    // The rows and cursor of the current cell.
    TODBC_Array& Result();

private:
    VAR_* ReadMember(const std::string& name);  // nil for a name that is none
};

// The type singleton (made by RegisterOdbcLibrary, or on first use).
extern VarODBC* VarODBCType;
VarODBC* EnsureVarODBCType();

// A new temporary result cell owning the rows of a query, cursor on row 0.
VAR_* NewResultCell(TODBC_Array result);
// The rows of a result cell; nil for any other cell.
TODBC_Array* ResultOf(VAR_* cell);
