// The objects of the in-process spreadsheet server, each reached by late
// binding: Application, Workbooks, Workbook, Sheets, Worksheet, Range,
// Font, Interior and Border. Member names ignore letter case.
#pragma once

#include <memory>
#include <optional>

#include "excel/XlDispatch.h"
#include "excel/XlRangeOps.h"
#include "excel/XlSession.h"

namespace xl {

using SessionRef = std::shared_ptr<XlSession>;
using BookRef = std::shared_ptr<BookModel>;
using SheetRef = std::shared_ptr<SheetModel>;

AutoRef MakeApplication(SessionRef session);
AutoRef MakeWorkbooks(SessionRef session);
AutoRef MakeWorkbook(SessionRef session, BookRef book);
AutoRef MakeSheets(SessionRef session, BookRef book);
AutoRef MakeWorksheet(SessionRef session, BookRef book, SheetRef sheet);
AutoRef MakeRange(const RangeTarget& target);
AutoRef MakeFont(const RangeTarget& target);
AutoRef MakeInterior(const RangeTarget& target);
AutoRef MakeBorder(const RangeTarget& target, int index);

inline Variant ObjectVariant(AutoRef object) { return Variant::FromObject(std::move(object)); }

// The members that a sheet answers and the application answers for its
// active sheet: Range(a) or Range(a, b) with addresses or ranges, Cells and
// Cells(row, column).
Variant SheetRange(const RangeTarget& sheetTarget, const MemberCall& call);
Variant SheetCells(const RangeTarget& sheetTarget, const MemberCall& call);
// The range an automation Range object stands for, if it is one.
std::optional<RangeTarget> RangeTargetOf(const Variant& value);
// The sheet a key selects in a book: a position (1-based) or a name.
SheetRef FindSheet(const BookModel& book, const Variant& key);

}  // namespace xl
