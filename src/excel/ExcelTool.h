// The program's side of spreadsheet automation: one process-wide
// TExcelTools drives the "Excel.Application" object by late-bound calls and
// keeps a small selection state (a workbook, a sheet, the last range);
// TExcelFormat reads and changes the formatting of one range.
#pragma once

#include <memory>
#include <string>

#include "values/Variant.h"

class TExcelFormat;

// Column letters of cell addresses.
inline const std::string kColumnAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

class TExcelTools {
public:
    TExcelTools();

    // Guarded operations: Ok := true first; an automation error sets it to
    // false and gives the fallback result; they never raise.
    bool Connect();
    bool Quit();
    void SetVisible(bool flag);
    bool AddWorkbook();
    bool OpenWorkbook(const std::string& fileName);
    bool SaveWorkbook();
    bool SaveWorkbookAs(const std::string& fileName);
    bool CloseWorkbook();
    bool CloseAllWorkbooks();
    int WorkbookCount();                  // -1 on error
    std::string WorkbookName(int index);  // empty on error
    bool AddSheet(const std::string& name);
    int SheetCount();                     // -1 on error
    std::string SheetName(int index);     // empty on error
    bool DeleteSheet(const Variant& key);
    void TargetRange(const std::string& address);
    void TargetRangeSpan(const std::string& first, const std::string& last);
    void TargetCell(int row, int column);
    // A format object for the range; none on error.
    std::unique_ptr<TExcelFormat> FormatRange(const std::string& address);
    std::unique_ptr<TExcelFormat> FormatRange(const std::string& first, const std::string& last);

    // Unguarded operations: automation errors reach the caller.
    std::string WorkbookFullName();
    void ActivateWorkbook();
    void ResetSelection();
    void SelectWorkbook(const Variant& key);
    void SelectActiveWorkbook();
    void SelectSheet(const Variant& key);
    void SelectActiveSheet();
    // Selects a workbook, then a sheet of it on the next call.
    TExcelTools& Select(const Variant& key);
    void ShowSheet();
    std::string CurrentName();
    void Rename(const std::string& name);
    Variant GetRangeValue(const std::string& address);  // integer 0 when the range failed
    void SetRangeValue(const std::string& address, const Variant& value);
    Variant GetCellValue(int row, int column);          // integer 0 when the cell failed
    void SetCellValue(int row, int column, const Variant& value);
    void ClearRange(const std::string& address);
    void ClearRange(const std::string& first, const std::string& last);
    void CutRange(const std::string& address);
    void CutRange(const std::string& first, const std::string& last);
    void CopyRange(const std::string& address);
    void CopyRange(const std::string& first, const std::string& last);
    void PasteAt(const std::string& address);
    void PasteAt(const std::string& first, const std::string& last);
    int LastUsedRow();
    int LastUsedColumn();

    // Selection predicates of the marker convention below.
    static bool IsSelected(const Variant& slot) { return slot.Kind() == VarKind::Dispatch; }
    static Variant Unset() { return Variant::FromStr("str"); }

    Variant App;        // the application; Null until Connect succeeds
    Variant Workbook;   // the selected workbook, or unset (a string marker)
    Variant Worksheet;  // the selected sheet, or unset
    Variant Target;     // the last range, cell, sheet or sheet collection obtained
    bool Ok = true;
    bool Visible = false;
    bool SelectionStale = false;

private:
    friend class TExcelFormat;
    Variant RangeBase() const;
    Variant SheetsBase() const;
    Variant ActiveBookBase();
    void SetAlerts(bool on);
    // Runs a guarded body: Ok := true, then false when it raised.
    template <class Body> void Guard(Body body);
    void ActOnRange(const std::string& first, const std::string* last, const char* member, bool paste);
};

// The process-wide automation object: created on first use, destroyed at
// exit without calling the application (only Quit ends it).
TExcelTools& ExcelTools();

class TExcelFormat {
public:
    TExcelFormat(TExcelTools& tools, Variant range);

    void ClearBorder();
    void SelectBorder(int side);  // 0..7, see the border table
    Variant GetValue();
    void SetValue(const Variant& value);
    bool GetBold();
    void SetBold(bool flag);
    bool GetItalic();
    void SetItalic(bool flag);
    bool GetStrike();
    void SetStrike(bool flag);
    std::string GetFontName();
    void SetFontName(const std::string& name);
    int GetFontSize();
    void SetFontSize(int size);
    int GetFontColor();
    void SetFontColor(int index);
    int GetBgColor();
    void SetBgColor(int index);
    int GetBorderColor();
    void SetBorderColor(int index);
    int GetAlign();              // 0 left, 1 right, 2 centre or other
    void SetAlign(int code);
    int GetVAlign();             // 0 top, 1 bottom, 2 centre or other
    void SetVAlign(int code);
    int GetLineStyle();          // 0 none .. 7 slant dash-dot
    void SetLineStyle(int code);
    int GetWeight();             // 0 hairline, 1 medium, 2 thick, 3 thin
    void SetWeight(int code);
    int GetUnderline();          // 0 none, 1 double, 2 double accounting, 3 single, 4 single accounting
    void SetUnderline(int code);
    void SetMerge(bool flag);

    TExcelTools& Tools;
    Variant Range;   // the range being formatted, or unset
    Variant Border;  // the selected border of that range, or unset

private:
    Variant FontPart();
    bool GetFontFlag(const char* member);
    void SetFontFlag(const char* member, bool flag);
};

// Code tables between the program's small codes and the application's
// constants. The ...Value functions answer false for codes that send
// nothing; the ...Code functions decode any value.
namespace excelcodes {
int BordersIndexOfSide(int side);  // 0 when the side is unknown
bool AlignValue(int code, int& value);
int AlignCode(int value);
bool VAlignValue(int code, int& value);
int VAlignCode(int value);
bool LineStyleValue(int code, int& value);
int LineStyleCode(int value);
bool WeightValue(int code, int& value);
int WeightCode(int value);
bool UnderlineValue(int code, int& value);
int UnderlineCode(int value);
}  // namespace excelcodes
