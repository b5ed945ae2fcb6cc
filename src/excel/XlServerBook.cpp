// Workbook and Sheets objects of the spreadsheet server.
#include "excel/XlServer.h"

namespace xl {

SheetRef FindSheet(const BookModel& book, const Variant& key) {
    if (key.Kind() == VarKind::String) {
        if (auto sheet = book.FindSheet(key.StrValue())) return sheet;
        throw AutomationError("Sheets: \"" + book.name + "\" has no sheet \"" + key.StrValue() + "\"");
    }
    int64_t position = 0;
    if (!ToIntStrict(key, position)) throw AutomationError("Sheets: a sheet is chosen by position or name");
    if (position < 1 || position > int64_t(book.sheets.size()))
        throw AutomationError("Sheets: \"" + book.name + "\" has no sheet at position " + std::to_string(position));
    return book.sheets[size_t(position - 1)];
}

namespace {

void CheckBookOpen(const XlSession& session, const BookModel& book) {
    session.CheckRunning();
    if (book.closed) throw AutomationError("the workbook \"" + book.name + "\" has been closed");
}

class XlSheets : public AutoObject {
public:
    XlSheets(SessionRef session, BookRef book) : session_(std::move(session)), book_(std::move(book)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        CheckBookOpen(*session_, *book_);
        const MemberCall call{"Sheets", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "count") {
            call.ExpectGet();
            return Variant::FromInt(int64_t(book_->sheets.size()), VarKind::I4);
        }
        if (name == "add") {
            call.ExpectParams(0, 4);  // Before, After, Count, Type: a new sheet always goes last
            return ObjectVariant(AddSheet());
        }
        if (name == "item" || name.empty()) {
            if (call.IsPut()) call.Fail("cannot be assigned");
            call.ExpectParams(1, 1);
            return ObjectVariant(MakeWorksheet(session_, book_, FindSheet(*book_, call.Params()[0])));
        }
        if (name == "delete") call.Fail("a workbook must keep at least one sheet");
        call.Unknown();
    }

private:
    AutoRef AddSheet() {
        auto sheet = std::make_shared<SheetModel>(book_->FreeSheetName());
        book_->sheets.push_back(sheet);
        book_->dirty = true;
        session_->ActivateSheet(book_, sheet);
        return MakeWorksheet(session_, book_, sheet);
    }

    SessionRef session_;
    BookRef book_;
};

class XlWorkbook : public AutoObject {
public:
    XlWorkbook(SessionRef session, BookRef book) : session_(std::move(session)), book_(std::move(book)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        CheckBookOpen(*session_, *book_);
        const MemberCall call{"Workbook", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "name") {
            call.ExpectGet();  // the name changes only by saving under another file name
            return Variant::FromStr(book_->name);
        }
        if (name == "fullname") {
            call.ExpectGet();
            return Variant::FromStr(book_->fullPath.empty() ? book_->name : book_->fullPath);
        }
        if (name == "saved") return Saved(call);
        if (name == "save") {
            call.ExpectParams(0, 0);
            session_->SaveBook(*book_);
            return {};
        }
        if (name == "saveas") {
            call.ExpectParams(1, 12);  // the optional format switches are ignored: always .xlsx
            session_->SaveBookAs(*book_, call.TextParam(0));
            return {};
        }
        if (name == "close") return Close(call);
        if (name == "activate") {
            call.ExpectParams(0, 0);
            session_->Activate(book_);
            return {};
        }
        if (name == "sheets" || name == "worksheets") return Sheets(call);
        if (name == "activesheet") {
            call.ExpectGet();
            return ObjectVariant(MakeWorksheet(session_, book_, book_->ActiveSheet()));
        }
        call.Unknown();
    }

private:
    Variant Saved(const MemberCall& call) {
        call.ExpectParams(0, 0);
        if (call.IsPut()) {
            book_->dirty = !call.BoolValue();
            return {};
        }
        return Variant::FromBool(!book_->dirty);
    }

    // Close(SaveChanges, FileName): without SaveChanges the changes are dropped.
    Variant Close(const MemberCall& call) {
        call.ExpectParams(0, 3);
        if (call.HasParam(0)) {
            bool save = false;
            double flag = 0;
            if (!ToNumberStrict(call.Params()[0], flag)) call.Fail("SaveChanges must be a boolean");
            save = flag != 0;
            if (save && call.HasParam(1)) session_->SaveBookAs(*book_, call.TextParam(1));
            else if (save) session_->SaveBook(*book_);
        }
        session_->CloseBook(book_);
        return {};
    }

    Variant Sheets(const MemberCall& call) {
        AutoRef sheets = std::make_shared<XlSheets>(session_, book_);
        if (call.Params().empty()) {
            call.ExpectGet();
            return ObjectVariant(sheets);
        }
        return sheets->Invoke("Item", call.kind, call.args);
    }

    SessionRef session_;
    BookRef book_;
};

}  // namespace

AutoRef MakeWorkbook(SessionRef session, BookRef book) {
    return std::make_shared<XlWorkbook>(std::move(session), std::move(book));
}

AutoRef MakeSheets(SessionRef session, BookRef book) {
    return std::make_shared<XlSheets>(std::move(session), std::move(book));
}

}  // namespace xl
