#include "excel/XlRangeOps.h"

#include <map>

#include "excel/XlDispatch.h"
#include "excel/XlValues.h"

namespace xl {
namespace {

void CheckSize(const RangeRect& rect, const char* what) {
    if (rect.CellCount() > kMaxCellsPerOperation)
        throw AutomationError(std::string("Range.") + what + ": the range " + RangeAddress(rect) +
                              " is too large for this operation");
}

class XlValueArray : public AutoObject {
public:
    XlValueArray(int rows, int cols, std::vector<Variant> values)
        : rows_(rows), cols_(cols), values_(std::move(values)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        const MemberCall call{"ValueArray", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "rows") { call.ExpectGet(); return Variant::FromInt(rows_, VarKind::I4); }
        if (name == "columns") { call.ExpectGet(); return Variant::FromInt(cols_, VarKind::I4); }
        if (name == "count") { call.ExpectGet(); return Variant::FromInt(int64_t(values_.size()), VarKind::I4); }
        if (name == "item" || name.empty()) {
            call.ExpectParams(2, 2);
            const int64_t row = call.IntParam(0), col = call.IntParam(1);
            if (row < 1 || row > rows_ || col < 1 || col > cols_) call.Fail("index out of range");
            Variant& slot = values_[size_t((row - 1) * cols_ + (col - 1))];
            if (call.IsPut()) { slot = call.NewValue(); return {}; }
            return slot;
        }
        call.Unknown();
    }

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    const Variant& At(int row, int col) const { return values_[size_t(row * cols_ + col)]; }

private:
    int rows_, cols_;
    std::vector<Variant> values_;
};

void EraseCell(SheetModel& sheet, int row, int col) {
    if (Cell* cell = sheet.Find(row, col)) {
        cell->value = CellValue{};
        cell->style = 0;
        sheet.Prune(row, col);
    }
}

}  // namespace

AutoRef MakeValueArray(int rows, int cols, std::vector<Variant> values) {
    return std::make_shared<XlValueArray>(rows, cols, std::move(values));
}

void RangeTarget::CheckAlive() const {
    session->CheckRunning();
    if (book->closed) throw AutomationError("the workbook \"" + book->name + "\" has been closed");
    if (sheet->deleted) throw AutomationError("the sheet \"" + sheet->name + "\" has been deleted");
}

Variant ReadRangeValue(const RangeTarget& target) {
    const RangeRect& rect = target.rect;
    if (rect.IsSingleCell()) return CellToVariant(*target.book, target.sheet->Find(rect.top, rect.left));
    CheckSize(rect, "Value");
    std::vector<Variant> values;
    values.reserve(size_t(rect.CellCount()));
    for (int row = rect.top; row <= rect.bottom; ++row)
        for (int col = rect.left; col <= rect.right; ++col)
            values.push_back(CellToVariant(*target.book, target.sheet->Find(row, col)));
    return Variant::FromObject(MakeValueArray(rect.Rows(), rect.Cols(), std::move(values)));
}

void WriteRangeValue(const RangeTarget& target, const Variant& value) {
    const RangeRect& rect = target.rect;
    BookModel& book = *target.book;
    SheetModel& sheet = *target.sheet;
    if (value.Kind() == VarKind::Dispatch) {
        const auto array = std::dynamic_pointer_cast<XlValueArray>(value.Object());
        if (!array) throw AutomationError("Range.Value: an object cannot be stored in a cell");
        const int rows = std::min(rect.Rows(), array->Rows());
        const int cols = std::min(rect.Cols(), array->Cols());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                StoreVariant(book, sheet, rect.top + r, rect.left + c, array->At(r, c));
        return;
    }
    if (value.IsEmpty() || value.IsNull()) {
        ClearRangeContents(target);
        return;
    }
    CheckSize(rect, "Value");
    for (int row = rect.top; row <= rect.bottom; ++row)
        for (int col = rect.left; col <= rect.right; ++col)
            StoreVariant(book, sheet, row, col, value);
}

void ClearRangeContents(const RangeTarget& target) {
    SheetModel& sheet = *target.sheet;
    sheet.ForEachIn(target.rect, [&](int row, int col, Cell& cell) {
        cell.value = CellValue{};
        sheet.Prune(row, col);
    });
    target.book->dirty = true;
}

void CopyRangeToClipboard(const RangeTarget& target, bool cut) {
    const RangeRect& rect = target.rect;
    CheckSize(rect, cut ? "Cut" : "Copy");
    Clipboard clip;
    clip.rows = rect.Rows();
    clip.cols = rect.Cols();
    clip.entries.resize(size_t(rect.CellCount()));
    std::map<uint32_t, uint32_t> styleMap;
    target.sheet->ForEachIn(rect, [&](int row, int col, Cell& cell) {
        auto& entry = clip.entries[size_t((row - rect.top) * clip.cols + (col - rect.left))];
        entry.value = cell.value;
        auto known = styleMap.find(cell.style);
        if (known == styleMap.end())
            known = styleMap.emplace(cell.style, clip.styles.Intern(target.book->styles.Get(cell.style))).first;
        entry.style = known->second;
    });
    clip.sourceBook = target.book;
    clip.sourceSheet = target.sheet;
    clip.source = rect;
    clip.cut = cut;
    target.session->clipboard = std::move(clip);
}

void PasteClipboard(XlSession& session, const std::shared_ptr<BookModel>& book,
                    const std::shared_ptr<SheetModel>& sheet) {
    if (session.clipboard.IsEmpty()) throw AutomationError("Worksheet.Paste: the clipboard is empty");
    // Take the clipboard first: a cut source may overlap the destination.
    Clipboard clip = session.clipboard;
    const int top = sheet->selection.top, left = sheet->selection.left;
    const RangeRect destination{top, left, top + clip.rows - 1, left + clip.cols - 1};
    if (destination.bottom > kMaxRows || destination.right > kMaxColumns)
        throw AutomationError("Worksheet.Paste: the clipboard does not fit below " + CellAddress(top, left));
    if (clip.cut) {
        const auto sourceBook = clip.sourceBook.lock();
        const auto sourceSheet = clip.sourceSheet.lock();
        if (sourceBook && sourceSheet && !sourceBook->closed && !sourceSheet->deleted) {
            for (int row = clip.source.top; row <= clip.source.bottom; ++row)
                for (int col = clip.source.left; col <= clip.source.right; ++col)
                    EraseCell(*sourceSheet, row, col);
            sourceBook->dirty = true;
        }
        session.clipboard.Clear();
    }
    std::map<uint32_t, uint32_t> styleMap;
    for (int r = 0; r < clip.rows; ++r) {
        for (int c = 0; c < clip.cols; ++c) {
            const auto& entry = clip.entries[size_t(r * clip.cols + c)];
            auto known = styleMap.find(entry.style);
            if (known == styleMap.end())
                known = styleMap.emplace(entry.style, book->styles.Intern(clip.styles.Get(entry.style))).first;
            Cell& cell = sheet->Touch(top + r, left + c);
            cell.value = entry.value;
            cell.style = known->second;
            sheet->Prune(top + r, left + c);
        }
    }
    sheet->selection = destination;
    book->dirty = true;
}

void MergeRange(const RangeTarget& target) {
    UnMergeRange(target);
    const RangeRect& rect = target.rect;
    if (rect.IsSingleCell()) return;
    // Only the top-left value survives a merge.
    target.sheet->ForEachIn(rect, [&](int row, int col, Cell& cell) {
        if (row == rect.top && col == rect.left) return;
        cell.value = CellValue{};
        target.sheet->Prune(row, col);
    });
    target.sheet->merges.push_back(rect);
    target.book->dirty = true;
}

void UnMergeRange(const RangeTarget& target) {
    auto& merges = target.sheet->merges;
    const auto before = merges.size();
    std::erase_if(merges, [&](const RangeRect& merge) { return merge.Intersects(target.rect); });
    if (merges.size() != before) target.book->dirty = true;
}

const CellFormat& FormatAt(const RangeTarget& target, int row, int col) {
    const Cell* cell = target.sheet->Find(row, col);
    return target.book->styles.Get(cell ? cell->style : 0);
}

void ChangeFormats(const RangeTarget& target, const RangeRect& rect,
                   const std::function<void(CellFormat&)>& change) {
    CheckSize(rect, "format");
    BookModel& book = *target.book;
    SheetModel& sheet = *target.sheet;
    std::map<uint32_t, uint32_t> changed;
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int col = rect.left; col <= rect.right; ++col) {
            Cell& cell = sheet.Touch(row, col);
            auto known = changed.find(cell.style);
            if (known == changed.end()) {
                CellFormat format = book.styles.Get(cell.style);
                change(format);
                known = changed.emplace(cell.style, book.styles.Intern(format)).first;
            }
            cell.style = known->second;
            sheet.Prune(row, col);
        }
    }
    book.dirty = true;
}

}  // namespace xl
