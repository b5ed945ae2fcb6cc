// The common base of the tabular script sources (dBase tables, spreadsheet
// workbooks, query results) and the payload of their selections.
//
// A selection (type BaseDB, see ScriptDB_Selection.h) is a rectangle of
// columns and rows over one source. It never asks what kind of source it
// has: everything that differs between sources is a virtual operation of
// varBaseDB, called with the source cell bound as the source type's Cur.
// A new source type derives from varBaseDB and implements the five extra
// slots and the cell operations below; the selection does the rest.
#pragma once

#include <cstdint>
#include <string>

#include "values/ObjectType.h"

// The payload of a selection cell.
struct SelectionData {
    // Column key (field name, column letters or column name) -> Int cell
    // with the column's number.
    GrafVarArray Columns;
    // Decimal text of a row number -> Int cell with that number.
    GrafVarArray Rows;
    int32_t ColIndex = -1;
    int32_t RowIndex = -1;
    // A copy of the source cell, owned by the selection: copies of a source
    // share its engine, so the selection keeps the engine alive.
    VAR_* Source = nullptr;
    std::string Sheet;  // worksheet name of a spreadsheet source, else ""
    // True while every row was appended in ascending order: a new row
    // above the last one then needs no search (whole tables are collected
    // row by row).
    bool RowsAscending = true;

    int32_t ColumnCount() const { return Columns.Count; }
    int32_t RowCount() const { return Rows.Count; }
    // The number and key of the cursors' column and row (0 / "" when the
    // cursor is outside the lists).
    int64_t ColumnNumberAt(int32_t index);
    std::string ColumnKeyAt(int32_t index);
    int64_t RowNumberAt(int32_t index);
};

// The selection payload of a cell, nil when the cell is not a selection.
SelectionData* SelectionOf(VAR_* cell);

// Upper bound of the entries one selection list may hold, so that a range
// such as [1..2000000000] is refused instead of exhausting memory.
constexpr int64_t kMaxSelectionEntries = int64_t(1) << 22;

class varBaseDB : public Object_ {
public:
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    VAR_* Element() override;

    // The five slots after slot 59.
    virtual void CollectRows(VAR_* selection) = 0;  // 60: every live row
    virtual VAR_* LowRow() = 0;                      // 61: Int cell
    virtual VAR_* HighRow() = 0;                     // 62: Int cell
    virtual VAR_* FirstColumn() = 0;                 // 63: key of the first column
    virtual VAR_* LastColumn() = 0;                  // 64: key of the last column

    // What a selection asks of its source (the source cell is Cur).
    // Column number of a text bound; any number outside the columns when
    // the key names none.
    virtual int64_t ColumnNumberOf(const std::string& key) = 0;
    // Key of a column number; "" when there is no such column.
    virtual std::string ColumnKeyOf(int64_t number) = 0;
    // The lowest and highest column number a range may reach.
    virtual int64_t LowestColumn() { return 0; }
    virtual int64_t HighestColumn() = 0;
    // The number of columns, for text ranges that count from the end.
    virtual int64_t ColumnTotal() { return HighestColumn() - LowestColumn() + 1; }
    // The worksheet a new selection belongs to.
    virtual std::string CurrentSheet() { return ""; }
    // Adds columns and rows for a range read [from..to]; the default is
    // the reading of sources with numbered columns (tables, results).
    virtual void SelectRange(SelectionData& selection, VAR_* from, VAR_* to);
    // The value at a row and column, as a new temporary.
    virtual VAR_* CellValue(SelectionData& selection, int64_t row, const std::string& columnKey) = 0;
    // Writes a value at a row and column; read-only sources keep the default.
    virtual void StoreCell(SelectionData& selection, int64_t row, const std::string& columnKey, VAR_* value);
    // A row of an assignment is complete (before the selection moves on).
    virtual void EndRow(SelectionData& selection);
    // x[key] read and write through a selection.
    virtual VAR_* IndexThrough(SelectionData& selection, VAR_* key);
    virtual void StoreThrough(SelectionData& selection, VAR_* key, VAR_* value);
};

// The source type of a cell, nil when it is no tabular source.
varBaseDB* SourceTypeOf(VAR_* cell);

// Appends the columns from..to (numbers, clamped to the source's columns)
// and the rows from..to; keys already present keep their place.
void AddColumns(SelectionData& selection, varBaseDB& source, int64_t from, int64_t to);
void AddRows(SelectionData& selection, int64_t from, int64_t to);

// A new selection over a source cell (which it copies), temporary or not.
VAR_* NewSelection(VAR_* source, bool temp);

// Binds a cell as its type's Cur for a scope (the slot wrappers' binding,
// for calls of the virtual operations that have no wrapper).
class CellBinding {
public:
    explicit CellBinding(VAR_* cell) : cell_(cell) { cell_->Bind(); }
    ~CellBinding() { cell_->Unbind(); }
    CellBinding(const CellBinding&) = delete;
    CellBinding& operator=(const CellBinding&) = delete;
private:
    VAR_* cell_;
};

// A creator: the constant in System that a script calls to open a source
// ("DBF", "Excel", "ODBC"). Each source module derives its own.
class ClassCreator : public Object_ {
public:
    ClassCreator(std::string typeName, std::string ownerName);
    std::string GetTypeName() override;
    void SetCallName() override;
    // Opens a source from the arguments: a new temporary source cell.
    VAR_* CallArgs(GrafVarArray* args) override = 0;

private:
    std::string typeName_;
    std::string ownerName_;
};
