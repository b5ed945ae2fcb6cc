// Worksheet object of the spreadsheet server, and the Range and Cells
// members it shares with the application.
#include <algorithm>

#include "excel/XlServer.h"

namespace xl {
namespace {

RangeRect RectOfArgument(const RangeTarget& sheetTarget, const MemberCall& call, size_t i) {
    const Variant& arg = call.Params()[i];
    if (arg.Kind() == VarKind::Dispatch) {
        const auto other = RangeTargetOf(arg);
        if (!other) call.Fail("argument " + std::to_string(i + 1) + " is not a range");
        if (other->sheet != sheetTarget.sheet) call.Fail("the ranges belong to different sheets");
        return other->rect;
    }
    const std::string address = call.TextParam(i);
    const auto rect = ParseRangeAddress(address);
    if (!rect) call.Fail("\"" + address + "\" is not a cell or range address");
    return *rect;
}

int ColumnOfArgument(const MemberCall& call, size_t i) {
    const Variant& arg = call.Params()[i];
    if (arg.Kind() == VarKind::String) {
        // Cells(5, "B") names the column by its letters.
        const auto cell = ParseCellAddress(arg.StrValue() + "1");
        if (cell) return cell->col;
    }
    return int(std::clamp<int64_t>(call.IntParam(i), INT32_MIN, INT32_MAX));
}

bool IsValidSheetName(const std::string& name) {
    if (name.empty() || name.size() > 31) return false;
    if (name.front() == '\'' || name.back() == '\'') return false;
    return name.find_first_of(":\\/?*[]") == std::string::npos;
}

class XlWorksheet : public AutoObject {
public:
    XlWorksheet(SessionRef session, BookRef book, SheetRef sheet)
        : target_{std::move(session), std::move(book), std::move(sheet), RangeRect::Cell(1, 1)} {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        target_.CheckAlive();
        const MemberCall call{"Worksheet", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "name") return Name(call);
        if (name == "select" || name == "activate") {
            call.ExpectParams(0, 1);  // Select(Replace) is accepted
            target_.session->ActivateSheet(target_.book, target_.sheet);
            return {};
        }
        if (name == "range") return SheetRange(target_, call);
        if (name == "cells") return SheetCells(target_, call);
        if (name == "paste") return Paste(call);
        if (name == "delete") {
            call.ExpectParams(0, 0);
            Delete();
            return {};
        }
        if (name == "index") {
            call.ExpectGet();
            return Variant::FromInt(target_.book->SheetIndex(target_.sheet.get()) + 1, VarKind::I4);
        }
        call.Unknown();
    }

private:
    Variant Name(const MemberCall& call) {
        call.ExpectParams(0, 0);
        if (!call.IsPut()) return Variant::FromStr(target_.sheet->name);
        const std::string name = call.TextValue();
        if (!IsValidSheetName(name))
            call.Fail("\"" + name + "\" is not a valid sheet name (1 to 31 characters, none of : \\ / ? * [ ])");
        const auto existing = target_.book->FindSheet(name);
        if (existing && existing != target_.sheet) call.Fail("a sheet named \"" + name + "\" already exists");
        target_.sheet->name = name;
        target_.book->dirty = true;
        return {};
    }

    Variant Paste(const MemberCall& call) {
        call.ExpectParams(0, 2);  // Paste(Destination, Link)
        if (call.HasParam(0)) {
            const RangeRect destination = RectOfArgument(target_, call, 0);
            target_.sheet->selection = destination;
        }
        PasteClipboard(*target_.session, target_.book, target_.sheet);
        return {};
    }

    void Delete() {
        BookModel& book = *target_.book;
        if (book.sheets.size() <= 1)
            throw AutomationError("Worksheet.Delete: a workbook must keep at least one sheet");
        const int index = book.SheetIndex(target_.sheet.get());
        book.sheets.erase(book.sheets.begin() + index);
        target_.sheet->deleted = true;
        if (index < book.activeSheet) --book.activeSheet;
        book.activeSheet = std::min(book.activeSheet, int(book.sheets.size()) - 1);
        book.dirty = true;
    }

    RangeTarget target_;
};

}  // namespace

Variant SheetRange(const RangeTarget& sheetTarget, const MemberCall& call) {
    if (call.IsPut()) call.Fail("assign to a member of the range instead");
    call.ExpectParams(1, 2);
    RangeRect rect = RectOfArgument(sheetTarget, call, 0);
    if (call.HasParam(1)) rect = RangeRect::Spanning(rect, RectOfArgument(sheetTarget, call, 1));
    return ObjectVariant(MakeRange(sheetTarget.WithRect(rect)));
}

Variant SheetCells(const RangeTarget& sheetTarget, const MemberCall& call) {
    if (call.IsPut()) call.Fail("assign to a member of the range instead");
    call.ExpectParams(0, 2);
    if (call.Params().empty()) return ObjectVariant(MakeRange(sheetTarget.WithRect(RangeRect::WholeSheet())));
    if (call.Params().size() != 2) call.Fail("give a row and a column");
    const int64_t row = call.IntParam(0);
    const int col = ColumnOfArgument(call, 1);
    if (row < 1 || row > kMaxRows || col < 1 || col > kMaxColumns)
        call.Fail("row " + std::to_string(row) + ", column " + std::to_string(col) + " is outside the sheet");
    return ObjectVariant(MakeRange(sheetTarget.WithRect(RangeRect::Cell(int(row), col))));
}

AutoRef MakeWorksheet(SessionRef session, BookRef book, SheetRef sheet) {
    return std::make_shared<XlWorksheet>(std::move(session), std::move(book), std::move(sheet));
}

}  // namespace xl
