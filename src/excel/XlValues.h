// Cell values as automation variants and back.
#pragma once

#include "excel/XlModel.h"
#include "values/Variant.h"

namespace xl {

// Numbers read as doubles, or as dates under a date format; texts as
// strings; booleans as booleans; empty cells as Empty.
Variant CellToVariant(const BookModel& book, const Cell* cell);

// Integers and floats store a number, strings a string, booleans a
// boolean, dates a number with a date format; Null and Empty clear the
// value. Other kinds throw AutomationError.
void StoreVariant(BookModel& book, SheetModel& sheet, int row, int col, const Variant& value);

}  // namespace xl
