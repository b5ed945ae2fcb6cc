// The automation server seen directly through late binding: member names
// without regard to case, clear error texts, and objects that outlive the
// book, sheet or application they belong to.
#include "ExcelTestSupport.h"

namespace {

struct Server : ::testing::Test {
    Variant Invoke(const Variant& target, const char* member, InvokeKind kind, std::vector<Variant> args = {}) {
        return target.Object()->Invoke(member, kind, args);
    }
    Variant Get(const Variant& target, const char* member, std::vector<Variant> args = {}) {
        return Invoke(target, member, InvokeKind::Get, std::move(args));
    }
    void Put(const Variant& target, const char* member, Variant value) {
        Invoke(target, member, InvokeKind::Put, {std::move(value)});
    }
    std::string ErrorText(const std::function<void()>& action) {
        try {
            action();
        } catch (const AutomationError& error) {
            return error.what();
        }
        return "(no error)";
    }

    Variant app = Variant::FromObject(CreateAutomationObject("Excel.Application"));
};

Variant Str(const char* text) { return Variant::FromStr(text); }
Variant Int(int value) { return Variant::FromInt(value, VarKind::I4); }

}  // namespace

TEST(AutomationFactory, OnlyTheSpreadsheetApplicationIsKnown) {
    EXPECT_NE(CreateAutomationObject("excel.application"), nullptr);
    EXPECT_THROW(CreateAutomationObject("Word.Application"), AutomationError);
}

TEST_F(Server, ErrorsNameTheMemberAndWhatWasWrong) {
    const Variant book = Invoke(Get(app, "workbooks"), "ADD", InvokeKind::Call);
    const Variant sheet = Get(book, "ActiveSheet");
    EXPECT_EQ(ErrorText([&] { Get(book, "Frobnicate"); }), "Workbook has no member \"Frobnicate\"");
    EXPECT_EQ(ErrorText([&] { Get(sheet, "Range", {Str("A1:")}); }),
              "Worksheet.Range: \"A1:\" is not a cell or range address");
    EXPECT_EQ(ErrorText([&] { Get(app, "Workbooks", {Str("nope")}); }), "Workbooks: no open workbook \"nope\"");
    EXPECT_EQ(ErrorText([&] { Put(book, "Name", Str("x")); }), "Workbook.Name: cannot be assigned");
    const Variant cell = Get(sheet, "Cells", {Int(2), Str("C")});
    EXPECT_EQ(Get(cell, "Address").StrValue(), "C2");
    EXPECT_EQ(ErrorText([&] { Put(Get(cell, "Font"), "Size", Str("big")); }), "Font.Size: the value must be a number");
    EXPECT_EQ(ErrorText([&] { Put(cell, "HorizontalAlignment", Int(3)); }),
              "Range.HorizontalAlignment: 3 is not an alignment constant");
    EXPECT_EQ(ErrorText([&] { Get(cell, "Borders", {Int(4)}); }), "Range.Borders: border index 4 is not 5 to 12");
    EXPECT_EQ(ErrorText([&] { Invoke(Get(sheet, "Cells"), "SpecialCells", InvokeKind::Call, {Int(2)}); }),
              "Range.SpecialCells: only the last cell (11) is supported");
    EXPECT_NE(ErrorText([&] { Put(Get(sheet, "Cells"), "Value", Int(1)); }).find("too large"), std::string::npos);
}

TEST_F(Server, ObjectsOfClosedBooksDeletedSheetsAndAQuitApplicationFail) {
    const Variant book = Invoke(Get(app, "Workbooks"), "Add", InvokeKind::Call);
    const Variant first = Get(Get(book, "Sheets"), "Item", {Int(1)});
    const Variant second = Invoke(Get(book, "Sheets"), "Add", InvokeKind::Call);
    EXPECT_EQ(Get(second, "Name").StrValue(), "Sheet2");
    const Variant range = Get(second, "Range", {Str("A1")});
    Invoke(second, "Delete", InvokeKind::Call);
    EXPECT_NE(ErrorText([&] { Get(range, "Value"); }).find("has been deleted"), std::string::npos);
    // Names are taken from the count, skipping any still in use.
    Put(first, "Name", Str("Sheet2"));
    EXPECT_EQ(Get(Invoke(Get(book, "Sheets"), "Add", InvokeKind::Call), "Name").StrValue(), "Sheet3");
    Invoke(book, "Close", InvokeKind::Call);
    EXPECT_NE(ErrorText([&] { Get(first, "Name"); }).find("has been closed"), std::string::npos);
    const Variant other = Invoke(Get(app, "Workbooks"), "Add", InvokeKind::Call);
    EXPECT_EQ(Get(other, "Name").StrValue(), "Book2");  // numbers are not reused
    Invoke(app, "Quit", InvokeKind::Call);
    EXPECT_NE(ErrorText([&] { Get(app, "Workbooks"); }).find("has quit"), std::string::npos);
    EXPECT_NE(ErrorText([&] { Get(other, "Name"); }).find("has quit"), std::string::npos);
}

TEST_F(Server, SelectionAndActiveSheetFollowSelect) {
    const Variant book = Invoke(Get(app, "Workbooks"), "Add", InvokeKind::Call);
    const Variant first = Get(book, "Sheets", {Str("sheet1")});  // names ignore case
    Invoke(Get(book, "Sheets"), "Add", InvokeKind::Call);
    const Variant range = Get(first, "Range", {Str("b2"), Str("$C$4")});
    Invoke(range, "Select", InvokeKind::Call);
    EXPECT_EQ(Get(Get(app, "ActiveSheet"), "Name").StrValue(), "Sheet1");
    const Variant selection = Get(app, "Selection");
    EXPECT_EQ(Get(selection, "Address").StrValue(), "B2:C4");
    EXPECT_EQ(Get(selection, "Row").IntValue(), 2);
    EXPECT_EQ(Get(selection, "Column").IntValue(), 2);
    // Range(range, range) spans both.
    const Variant span = Get(first, "Range", {Get(first, "Range", {Str("E9")}), range});
    EXPECT_EQ(Get(span, "Address").StrValue(), "B2:E9");
}

TEST_F(Server, CloseCanSaveChangesFirst) {
    const auto dir = exceltest::ScratchDir("close_save");
    const Variant book = Invoke(Get(app, "Workbooks"), "Add", InvokeKind::Call);
    Put(Get(Get(book, "ActiveSheet"), "Range", {Str("A1")}), "Value", Str("kept"));
    const std::string path = (dir / "closed.xlsx").string();
    Invoke(book, "Close", InvokeKind::Call, {Variant::FromBool(true), Str(path.c_str())});
    const Variant reopened = Invoke(Get(app, "Workbooks"), "Open", InvokeKind::Call, {Str(path.c_str())});
    EXPECT_EQ(Get(Get(Get(reopened, "ActiveSheet"), "Range", {Str("A1")}), "Value").StrValue(), "kept");
    EXPECT_TRUE(Get(reopened, "Saved").BoolValue());
    std::filesystem::remove_all(dir);
}

TEST_F(Server, AnAssignmentWithoutItsValueIsRefused) {
    const Variant book = Invoke(Get(app, "Workbooks"), "Add", InvokeKind::Call);
    const Variant cell = Get(Get(book, "ActiveSheet"), "Range", {Str("A1")});
    for (const Variant& target : {app, cell, Get(cell, "Font"), Get(cell, "Borders", {Int(7)})}) {
        for (const char* member : {"Value", "DisplayAlerts", "Bold", "LineStyle", "Workbooks"}) {
            std::vector<Variant> none;
            EXPECT_THROW(target.Object()->Invoke(member, InvokeKind::Put, none), AutomationError) << member;
        }
    }
}
