// What the server's Range object does to the model: values, clearing, the
// clipboard, merging and formats of a rectangle of one sheet.
#pragma once

#include <functional>
#include <memory>

#include "excel/XlModel.h"
#include "excel/XlSession.h"
#include "values/Variant.h"

namespace xl {

// Writes that would touch more cells than this fail instead of filling
// memory (a whole sheet has 17 billion cells).
constexpr int64_t kMaxCellsPerOperation = int64_t(1) << 20;

struct RangeTarget {
    std::shared_ptr<XlSession> session;
    std::shared_ptr<BookModel> book;
    std::shared_ptr<SheetModel> sheet;
    RangeRect rect;

    // Fails once the application quit, the book closed or the sheet was deleted.
    void CheckAlive() const;
    RangeTarget WithRect(const RangeRect& other) const { return {session, book, sheet, other}; }
};

// One cell gives its value; a rectangle gives a value array object.
Variant ReadRangeValue(const RangeTarget& target);
// A value array fills the rectangle from its top-left corner; any other
// value goes into every cell.
void WriteRangeValue(const RangeTarget& target, const Variant& value);
void ClearRangeContents(const RangeTarget& target);
void CopyRangeToClipboard(const RangeTarget& target, bool cut);
// Pastes at the top-left cell of the sheet's selection.
void PasteClipboard(XlSession& session, const std::shared_ptr<BookModel>& book,
                    const std::shared_ptr<SheetModel>& sheet);
void MergeRange(const RangeTarget& target);
void UnMergeRange(const RangeTarget& target);

const CellFormat& FormatAt(const RangeTarget& target, int row, int col);
// Applies change to the format of every cell of rect (a part of the target's sheet).
void ChangeFormats(const RangeTarget& target, const RangeRect& rect,
                   const std::function<void(CellFormat&)>& change);

// A rectangle of values, as a multi-cell Range.Value gives it: Rows,
// Columns, Count and Item(row, column) (1-based).
AutoRef MakeValueArray(int rows, int cols, std::vector<Variant> values);

}  // namespace xl
