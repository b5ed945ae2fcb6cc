// VarExcel: a workbook as a script value (type name "Excel"). The value
// names one workbook and one sheet of it and keeps a row position; every
// operation selects its workbook and sheet again by name through the one
// automation object, so several workbook values work side by side.
// Copies of a value copy its record: each copy has its own sheet and row.
#pragma once

#include <cstdint>
#include <string>

#include "dbf/ScriptDB_Base.h"

class TExcelTools;

// The payload of a workbook cell; none once the workbook was closed.
struct Rec_Excel {
    std::string Book;      // the workbook's name as the application knows it
    std::string Sheet;     // the current sheet's name; empty until first needed
    int32_t Position = 0;  // the current row (1 = first); 0 in a new record
};

// The sheet of the workbook value on which the machine last opened an
// index or a range at statement level (see RecordCurrentSheet).
extern std::string LastExcelSheet;

class VarExcel : public varBaseDB {
public:
    VarExcel();
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
    int64_t LowestColumn() override { return 1; }
    int64_t HighestColumn() override { return 702; }  // "ZZ", the last column letters name
    std::string CurrentSheet() override;
    void SelectRange(SelectionData& selection, VAR_* from, VAR_* to) override;
    VAR_* CellValue(SelectionData& selection, int64_t row, const std::string& columnKey) override;
    void StoreCell(SelectionData& selection, int64_t row, const std::string& columnKey, VAR_* value) override;
    VAR_* IndexThrough(SelectionData& selection, VAR_* key) override;
    void StoreThrough(SelectionData& selection, VAR_* key, VAR_* value) override;

    // The steps the operations share (on Cur's record).
    Rec_Excel& Record();   // raises when the workbook was closed
    void EnsureSheetName();
    void SelectBook();     // the workbook, from a fresh selection
    void SelectOwn();      // the workbook, then the sheet
    bool IsSheetName(const std::string& name);  // true switches to that sheet

private:
    VAR_* ReadMember(const std::string& name);
    VAR_* WriteMember(const std::string& name, VAR_* value);
    VAR_* ReadCellMember(const std::string& name);
    std::string AddressOf(const std::string& text);
    int LastRow();
};

extern VarExcel* VarExcelType;

// The record of a workbook cell; nil for any other cell or a closed one.
Rec_Excel* RecordOf(VAR_* cell);

// Whether a member name addresses a cell: one to three letters, then
// digits or nothing ("B", "B7", "aa12").
bool IsCellName(const std::string& name);

// The name part of a file name whose directories are separated by "\"
// (or a drive's ":"), as the application names the workbook.
std::string BookNameOf(const std::string& fileName);

// The recorder of LastExcelSheet, installed at start-up.
void RecordExcelSheet(VAR_* value);
