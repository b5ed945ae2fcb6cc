// BaseDB: a selection, a rectangle of columns and rows over one tabular
// source. A walk with First and Next visits the cells row by row, left to
// right, and between two rows passes one position where ColIndex equals
// the number of columns. Assigning to a selection writes its cells; the
// member "Sum" adds them up and the method "Filter" removes rows.
#pragma once

#include "dbf/ScriptDB_Base.h"

class BaseDB : public Object_ {
public:
    BaseDB();
    void Create() override;

    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetIndex(VAR_* key, VAR_* value) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    std::string GetStr() override;
    CellData NewData() override;
    std::string GetTypeName() override;
    void FreeData(CellData& data) override;
    void SetCallName() override;
    void CopyData(const CellData& src, CellData& dst) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    VAR_* Element() override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

    // The operations on the current selection (Cur) that assignment,
    // filtering and summing are built from.
    VAR_* CellValue();            // a new temporary; Null outside the cells
    void StoreCell(VAR_* value);  // at (RowIndex, ColIndex)
    void EndRow();                // the row is complete: let the source write it, then Next
    void FillDefaults();          // all columns and the source's current row when none
    void AddRange(int which, VAR_* from, VAR_* to);  // 0 columns, 1 rows
    VAR_* Sum();
    VAR_* AllRow();
    VAR_* Filter(GrafVarArray* args);

private:
    SelectionData& Data();
    void AssignSelection(VAR_* other);
    void AssignArray(VAR_* array);
    void AssignScalar(VAR_* value);
};

extern BaseDB* BaseDBType;

// The filter text test: operator character, modifier character, pattern.
bool PassesFilter(const std::string& value, const std::string& filterText);
