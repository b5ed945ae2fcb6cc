// VarDBF: an open dBase table as a script value (type name "DBF"). The
// cell's payload is a handle shared by every copy of the cell (a variable
// assigned from another, a loop's hidden variable, a selection's source):
// the engine lives as long as the last copy, and "Close" through any copy
// closes the table for all of them.
#pragma once

#include <memory>

#include "dbf/DBF_File.h"
#include "dbf/ScriptDB_Base.h"

struct DBFHandle {
    int32_t References = 1;
    std::unique_ptr<TDBF_Data> Engine;  // nil once the table was closed
    // A selection stored values into the buffer that no write has saved
    // yet (every selection over the table shares this engine and buffer).
    bool Unwritten = false;
    // The selection row an appended, not yet written record stands for.
    int64_t AppendedRow = 0;
};

class VarDBF : public varBaseDB {
public:
    VarDBF();
    void Create() override;

    VAR_* GetIndex(VAR_* key) override;
    void SetIndex(VAR_* key, VAR_* value) override;
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
    void StoreCell(SelectionData& selection, int64_t row, const std::string& columnKey, VAR_* value) override;
    void EndRow(SelectionData& selection) override;
    void StoreThrough(SelectionData& selection, VAR_* key, VAR_* value) override;

    // The engine of the current cell; nil when the table was closed.
    TDBF_Data* Engine();

private:
    VAR_* ReadMember(const std::string& name);
    bool WriteMember(const std::string& name, VAR_* value);
    VAR_* CloseTable();
};

extern VarDBF* VarDBFType;

// The handle of a table cell, nil for any other cell.
DBFHandle* HandleOf(VAR_* cell);
// Closes a table for every copy of its cell: the engine is closed and
// freed. Errors of the final header write are passed on.
void CloseHandle(DBFHandle& handle);
// A new temporary table cell owning the engine.
VAR_* NewTableCell(std::unique_ptr<TDBF_Data> engine);

// Field type description ("C,10", "N,10,2", "D") and its reading.
std::string FieldDescription(const TDBF_Field& field);
struct FieldShape {
    char Type = 0;
    unsigned Length = 0;
    unsigned Decimals = 0;
};
FieldShape ParseFieldDescription(const std::string& text);

// The failure of a script operation on tables: the engine's and the file
// layer's errors, passed on with their own text as the script's error.
[[noreturn]] void RaiseScriptError(const std::exception& error);
