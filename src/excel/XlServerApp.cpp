// Application and Workbooks objects of the spreadsheet server.
#include "excel/AutomationFactory.h"
#include "excel/XlServer.h"

namespace xl {
namespace {

RangeTarget ActiveSheetTarget(const SessionRef& session) {
    const auto book = session->ActiveBook();
    const auto sheet = book->ActiveSheet();
    return {session, book, sheet, sheet->selection};
}

class XlWorkbooks : public AutoObject {
public:
    explicit XlWorkbooks(SessionRef session) : session_(std::move(session)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        session_->CheckRunning();
        const MemberCall call{"Workbooks", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "count") {
            call.ExpectGet();
            return Variant::FromInt(int64_t(session_->books.size()), VarKind::I4);
        }
        if (name == "add") {
            call.ExpectParams(0, 1);  // a template argument is accepted and ignored
            return ObjectVariant(MakeWorkbook(session_, session_->AddBook()));
        }
        if (name == "open") {
            call.ExpectParams(1, 15);  // the optional open switches are ignored
            return ObjectVariant(MakeWorkbook(session_, session_->OpenBook(call.TextParam(0))));
        }
        if (name == "close") {
            call.ExpectParams(0, 0);
            session_->CloseAll();
            return {};
        }
        if (name == "item" || name.empty()) return Item(call);
        call.Unknown();
    }

    Variant Item(const MemberCall& call) {
        if (call.IsPut()) call.Fail("cannot be assigned");
        call.ExpectParams(1, 1);
        return ObjectVariant(MakeWorkbook(session_, session_->FindBook(call.Params()[0])));
    }

private:
    SessionRef session_;
};

class XlApplication : public AutoObject {
public:
    explicit XlApplication(SessionRef session) : session_(std::move(session)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        session_->CheckRunning();
        const MemberCall call{"Application", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "displayalerts") return Switch(call, session_->displayAlerts);
        if (name == "visible") return Switch(call, session_->visible);
        if (name == "workbooks") return Workbooks(call);
        if (name == "activeworkbook") {
            call.ExpectGet();
            return ObjectVariant(MakeWorkbook(session_, session_->ActiveBook()));
        }
        if (name == "activesheet") {
            call.ExpectGet();
            const RangeTarget target = ActiveSheetTarget(session_);
            return ObjectVariant(MakeWorksheet(session_, target.book, target.sheet));
        }
        if (name == "selection") {
            call.ExpectGet();
            return ObjectVariant(MakeRange(ActiveSheetTarget(session_)));
        }
        if (name == "sheets" || name == "worksheets") return Sheets(call);
        if (name == "range") return SheetRange(ActiveSheetTarget(session_), call);
        if (name == "cells") return SheetCells(ActiveSheetTarget(session_), call);
        if (name == "quit") {
            call.ExpectParams(0, 0);
            session_->Quit();
            return {};
        }
        call.Unknown();
    }

private:
    static Variant Switch(const MemberCall& call, bool& flag) {
        call.ExpectParams(0, 0);
        if (call.IsPut()) {
            flag = call.BoolValue();
            return {};
        }
        return Variant::FromBool(flag);
    }

    Variant Workbooks(const MemberCall& call) {
        auto collection = std::make_shared<XlWorkbooks>(session_);
        if (call.Params().empty()) {
            call.ExpectGet();
            return ObjectVariant(collection);
        }
        return collection->Item(call);
    }

    Variant Sheets(const MemberCall& call) {
        AutoRef sheets = MakeSheets(session_, session_->ActiveBook());
        if (call.Params().empty()) {
            call.ExpectGet();
            return ObjectVariant(sheets);
        }
        return sheets->Invoke("Item", call.kind, call.args);
    }

    SessionRef session_;
};

}  // namespace

AutoRef MakeApplication(SessionRef session) { return std::make_shared<XlApplication>(std::move(session)); }
AutoRef MakeWorkbooks(SessionRef session) { return std::make_shared<XlWorkbooks>(std::move(session)); }

}  // namespace xl

AutoRef CreateAutomationObject(const std::string& progId) {
    if (xl::LowerAscii(progId) == "excel.application")
        return xl::MakeApplication(std::make_shared<xl::XlSession>());
    throw AutomationError("no automation server is registered for \"" + progId + "\"");
}
