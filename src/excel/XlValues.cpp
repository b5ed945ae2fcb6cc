#include "excel/XlValues.h"

#include <cmath>

namespace xl {

Variant CellToVariant(const BookModel& book, const Cell* cell) {
    if (!cell) return Variant();
    switch (cell->value.kind) {
    case CellValue::Kind::Empty: return Variant();
    case CellValue::Kind::Text: return Variant::FromStr(cell->value.text);
    case CellValue::Kind::Bool: return Variant::FromBool(cell->value.flag);
    case CellValue::Kind::Number:
        if (book.IsDateFormat(book.styles.Get(cell->style).numberFormat))
            return Variant::FromDate(cell->value.number);
        return Variant::FromDouble(cell->value.number);
    }
    return Variant();
}

namespace {

CellValue ValueOfVariant(const Variant& value) {
    if (value.Kind() == VarKind::String) return CellValue::Text(value.StrValue());
    if (value.Kind() == VarKind::Bool) return CellValue::Bool(value.BoolValue());
    if (value.IsNumericKind() || value.Kind() == VarKind::Date) {
        const double number = value.IsIntegerKind() ? double(value.ToInt()) : value.ToDouble();
        if (!std::isfinite(number)) throw AutomationError("Range.Value: the number is not finite");
        return CellValue::Number(number);
    }
    throw AutomationError("Range.Value: a cell holds a number, a text, a boolean or a date");
}

void MarkAsDate(BookModel& book, Cell& cell, double oleDate) {
    const CellFormat& current = book.styles.Get(cell.style);
    if (book.IsDateFormat(current.numberFormat)) return;
    CellFormat dated = current;
    const bool hasTime = oleDate != std::floor(oleDate);
    dated.numberFormat = hasTime ? kFormatDateTime : kFormatDate;
    cell.style = book.styles.Intern(dated);
}

}  // namespace

void StoreVariant(BookModel& book, SheetModel& sheet, int row, int col, const Variant& value) {
    book.dirty = true;
    if (value.IsEmpty() || value.IsNull()) {
        if (Cell* cell = sheet.Find(row, col)) {
            cell->value = CellValue{};
            sheet.Prune(row, col);
        }
        return;
    }
    CellValue stored = ValueOfVariant(value);
    Cell& cell = sheet.Touch(row, col);
    cell.value = std::move(stored);
    if (value.Kind() == VarKind::Date) MarkAsDate(book, cell, value.DateValue());
}

}  // namespace xl
