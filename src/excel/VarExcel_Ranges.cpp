// VarExcel as the source of selections: the reading of range bounds as
// cell addresses ("A1".."C3", "B".."D", "5".."7") and row numbers, and the
// cell reads and writes a selection makes on its sheet.
#include <cctype>

#include "dbf/ScriptDB_Selection.h"
#include "excel/ClassExcel.h"
#include "excel/VarExcel.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

constexpr int64_t kColumnIV = 256;  // the last column of a range that ends at a row from the end

bool IsAbsent(VAR_* bound) { return !bound || bound->Type == Types.Null; }
bool IsText(VAR_* bound) { return bound && bound->Is(TypeKind::String); }
bool IsInteger(VAR_* bound) { return bound && bound->Is(TypeKind::Int); }

// A bound read as an address: a column number (0 when the text has no
// letters) and a row number (0 when it has no digits).
struct Address {
    int64_t column = 0;
    int64_t row = 0;
};

// Letters, then digits; "$" marks are ignored, and anything after the
// digits is not part of the address. Only the first two letters count,
// as for every column name of the scripts.
Address ParseAddress(const std::string& text) {
    std::string letters;
    size_t i = 0;
    auto skipDollar = [&] { while (i < text.size() && text[i] == '$') ++i; };
    skipDollar();
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) letters += text[i++];
    skipDollar();
    Address address;
    address.column = letters.empty() ? 0 : ColumnNumber(letters);
    constexpr int64_t kRowLimit = int64_t(1) << 40;  // far beyond any sheet; keeps the sum from overflowing
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && address.row < kRowLimit)
        address.row = address.row * 10 + (text[i++] - '0');
    return address;
}

}  // namespace

// Bounds of a range over a sheet:
//   none            every used column and row
//   "A1".."C3"      the rectangle
//   "B".."D"        columns only (rows then default to the current one)
//   "5".."7"        rows 5 to 7 of column A
//   "A1"..-1        columns A to IV, rows from 1 to the last used one
//   "A"..5          columns A to E;  "3"..5  rows 3 to 5
//   numbers         rows; negative ones count back from the last used row
void VarExcel::SelectRange(SelectionData& selection, VAR_* from, VAR_* to) {
    auto fromEnd = [&](int64_t row) {
        if (row >= 0) return row;
        TempRef high(HighRow());
        return high->GetInt() + 1 + row;
    };
    if (IsAbsent(from) && IsAbsent(to)) {
        if (selection.Columns.Count == 0) {
            TempRef last(LastColumn());
            AddColumns(selection, *this, 1, ColumnNumber(last->GetStr()));
        }
        if (selection.Rows.Count == 0) {
            TempRef high(HighRow());
            AddRows(selection, 1, high->GetInt());
        }
        return;
    }
    if (IsText(from)) {
        Address first = ParseAddress(from->GetStr());
        Address last;
        if (IsInteger(to)) {
            const int64_t n = to->GetInt();
            if (n < 0)
                last = {kColumnIV, n};
            else if (first.column != 0)
                last.column = n;
            else
                last.row = n;
        } else if (!IsAbsent(to)) {
            last = ParseAddress(to->GetStr());
        }
        if (first.column == 0) first.column = 1;
        if (last.column == 0) last.column = first.column;
        AddColumns(selection, *this, first.column, last.column);
        if (first.row == 0 && last.row == 0) return;
        if (first.row == 0) first.row = 1;
        if (last.row == 0) last.row = first.row;
        AddRows(selection, fromEnd(first.row), fromEnd(last.row));
        return;
    }
    AddRows(selection, fromEnd(from ? from->GetInt() : 0), fromEnd(to ? to->GetInt() : 0));
}

// A selection reads from the sheet it was made on and moves its own copy
// of the workbook value to the row it reads.
VAR_* VarExcel::CellValue(SelectionData& selection, int64_t row, const std::string& columnKey) {
    EnsureSheetName();
    Rec_Excel& record = Record();
    record.Position = Low32(row);
    SelectBook();
    TExcelTools& tools = ExcelTools();
    tools.Select(Variant::FromStr(selection.Sheet.empty() ? record.Sheet : selection.Sheet));
    return NewFromVariant(tools.GetRangeValue(columnKey + std::to_string(row)));
}

// Writes go to the selection's own sheet as well: the sheet last indexed
// may belong to another workbook value (the right-hand side of a copy
// between two sheets), so it is only the fallback for a selection that
// has no sheet of its own.
void VarExcel::StoreCell(SelectionData& selection, int64_t row, const std::string& columnKey, VAR_* value) {
    EnsureSheetName();
    Rec_Excel& record = Record();
    record.Position = Low32(row);
    const std::string& sheet = !selection.Sheet.empty() ? selection.Sheet
                               : !LastExcelSheet.empty() ? LastExcelSheet
                                                         : record.Sheet;
    SelectBook();
    TExcelTools& tools = ExcelTools();
    tools.Select(Variant::FromStr(sheet));
    tools.SetRangeValue(columnKey + std::to_string(row), value ? value->GetVariant() : Variant::MakeNull());
}

VAR_* VarExcel::IndexThrough(SelectionData& selection, VAR_* key) {
    if (!selection.Sheet.empty()) Record().Sheet = selection.Sheet;
    return GetIndex(key);
}

void VarExcel::StoreThrough(SelectionData& selection, VAR_* key, VAR_* value) {
    if (!selection.Sheet.empty())
        Record().Sheet = selection.Sheet;
    else if (!LastExcelSheet.empty())
        Record().Sheet = LastExcelSheet;
    SetIndex(key, value);
}
