// TExcelTools against the in-process server: results, Ok, and the selection
// state each operation leaves behind.
#include "ExcelTestSupport.h"

using exceltest::ToolsFixture;

namespace {

Variant Str(const char* text) { return Variant::FromStr(text); }
Variant Int(int value) { return Variant::FromInt(value, VarKind::I4); }

bool NothingSelected(const TExcelTools& tools) {
    return !TExcelTools::IsSelected(tools.Workbook) && !TExcelTools::IsSelected(tools.Worksheet);
}

}  // namespace

TEST(ExcelToolsLifecycle, StartsUnconnectedAndFailsGuardedUntilConnected) {
    TExcelTools tools;
    EXPECT_TRUE(tools.App.IsNull());
    EXPECT_FALSE(tools.Visible);
    EXPECT_FALSE(tools.SelectionStale);
    EXPECT_EQ(tools.Workbook.StrValue(), "str");  // the unset marker
    EXPECT_FALSE(tools.AddWorkbook());
    EXPECT_EQ(tools.WorkbookCount(), -1);
    EXPECT_THROW(tools.SelectActiveWorkbook(), AutomationError);
    EXPECT_TRUE(tools.Connect());
    EXPECT_TRUE(tools.AddWorkbook());
}

TEST_F(ToolsFixture, QuitEndsTheApplicationForGood) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_TRUE(tools.Quit());
    EXPECT_FALSE(tools.AddWorkbook());
    EXPECT_FALSE(tools.Ok);
    EXPECT_EQ(tools.WorkbookCount(), -1);
    EXPECT_THROW(tools.Select(Int(1)), AutomationError);
    EXPECT_FALSE(tools.Quit());
    EXPECT_TRUE(tools.App.Kind() == VarKind::Dispatch);  // the reference stays, no new start
}

TEST_F(ToolsFixture, SetVisibleRecordsTheFlagOnlyWhenTheCallWorks) {
    tools.SetVisible(true);
    EXPECT_TRUE(tools.Ok);
    EXPECT_TRUE(tools.Visible);
    tools.Quit();
    tools.SetVisible(false);
    EXPECT_FALSE(tools.Ok);
    EXPECT_TRUE(tools.Visible);
}

TEST_F(ToolsFixture, NewWorkbooksAreNumberedAndListed) {
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_EQ(tools.WorkbookCount(), 2);
    EXPECT_TRUE(NothingSelected(tools));
    EXPECT_EQ(tools.WorkbookName(1), "Book1");
    EXPECT_EQ(tools.WorkbookName(2), "Book2");
    EXPECT_TRUE(tools.SelectionStale);
    EXPECT_EQ(tools.WorkbookName(3), "");
    EXPECT_FALSE(tools.Ok);
    tools.SelectActiveWorkbook();
    EXPECT_EQ(tools.CurrentName(), "Book2");
    EXPECT_TRUE(NothingSelected(tools));
}

TEST_F(ToolsFixture, SelectChainsWorkbookThenSheetThenNothing) {
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.AddSheet("Data"));
    ASSERT_TRUE(tools.AddWorkbook());  // Book2 is now active
    tools.Select(Str("Book1")).Select(Str("Data"));
    EXPECT_TRUE(TExcelTools::IsSelected(tools.Workbook));
    EXPECT_TRUE(TExcelTools::IsSelected(tools.Worksheet));
    tools.Select(Str("Sheet1"));  // both are selected: nothing changes
    EXPECT_EQ(tools.CurrentName(), "Data");

    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    tools.TargetRange("A1");
    EXPECT_TRUE(tools.SelectionStale);
    tools.Select(Str("Book2"));  // starts from nothing again
    EXPECT_FALSE(tools.SelectionStale);
    EXPECT_FALSE(TExcelTools::IsSelected(tools.Worksheet));
    EXPECT_EQ(tools.CurrentName(), "Book2");
}

TEST_F(ToolsFixture, SelectingUnknownBooksAndSheetsRaises) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_THROW(tools.Select(Str("missing.xlsx")), AutomationError);
    EXPECT_THROW(tools.SelectWorkbook(Int(7)), AutomationError);
    tools.Select(Str("Book1"));
    EXPECT_THROW(tools.Select(Str("NoSuchSheet")), AutomationError);
    tools.ResetSelection();
    EXPECT_THROW(tools.SelectSheet(Int(2)), AutomationError);
    tools.SelectSheet(Int(1));  // through the active workbook
    EXPECT_EQ(tools.CurrentName(), "Sheet1");
}

TEST_F(ToolsFixture, SheetsAreAddedCountedNamedAndDeleted) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1"));
    EXPECT_TRUE(tools.AddSheet("Data"));
    EXPECT_TRUE(NothingSelected(tools));
    tools.Select(Str("Book1"));
    EXPECT_EQ(tools.SheetCount(), 2);
    tools.Select(Str("Book1"));
    EXPECT_EQ(tools.SheetName(2), "Data");
    EXPECT_TRUE(tools.SelectionStale);
    EXPECT_EQ(tools.SheetName(9), "");
    EXPECT_FALSE(tools.Ok);

    // A bad name fails after the sheet was added, as the application does.
    tools.Select(Str("Book1"));
    EXPECT_FALSE(tools.AddSheet("bad/name"));
    EXPECT_EQ(tools.SheetCount(), 3);
    tools.Select(Str("Book1"));
    EXPECT_FALSE(tools.AddSheet("data"));  // names ignore letter case
    tools.Select(Str("Book1"));
    EXPECT_TRUE(tools.DeleteSheet(Str("Data")));
    tools.Select(Str("Book1"));
    EXPECT_FALSE(tools.DeleteSheet(Str("Data")));
    tools.Select(Str("Book1"));
    EXPECT_EQ(tools.SheetCount(), 3);
    // A workbook keeps its last sheet.
    tools.Select(Str("Book1"));
    ASSERT_TRUE(tools.DeleteSheet(Int(1)));
    tools.Select(Str("Book1"));
    ASSERT_TRUE(tools.DeleteSheet(Int(1)));
    tools.Select(Str("Book1"));
    EXPECT_FALSE(tools.DeleteSheet(Int(1)));
}

TEST_F(ToolsFixture, NewSheetIsNamedAfterTheCountAndBecomesActive) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1"));
    tools.Target = Variant();
    ASSERT_TRUE(tools.AddSheet("Sheet2"));
    tools.SelectActiveSheet();
    EXPECT_EQ(tools.CurrentName(), "Sheet2");
}

TEST_F(ToolsFixture, RenameChangesTheSheetButNotTheWorkbook) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    tools.Rename("Report");
    EXPECT_TRUE(NothingSelected(tools));
    tools.Select(Str("Book1")).Select(Str("Report"));
    EXPECT_EQ(tools.CurrentName(), "Report");
    tools.Select(Str("Book1"));
    EXPECT_THROW(tools.Rename("Other"), AutomationError);  // a workbook's name is read-only
    EXPECT_TRUE(NothingSelected(tools));
    EXPECT_EQ(tools.CurrentName(), "");
}

TEST_F(ToolsFixture, CellValuesKeepTheirKinds) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    tools.SetCellValue(5, 2, Variant::FromInt(42));
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    const Variant number = tools.GetRangeValue("B5");
    EXPECT_EQ(number.Kind(), VarKind::R8);
    EXPECT_EQ(number.DoubleValue(), 42.0);

    tools.SetRangeValue("C1", Str("text"));
    tools.SetRangeValue("C2", Variant::FromBool(true));
    tools.SetRangeValue("C3", Variant::FromDate(45000.5));
    tools.SetRangeValue("C4", Variant::FromDouble(2.5));
    EXPECT_EQ(tools.GetCellValue(1, 3).StrValue(), "text");
    EXPECT_EQ(tools.GetCellValue(2, 3).Kind(), VarKind::Bool);
    const Variant date = tools.GetCellValue(3, 3);
    EXPECT_EQ(date.Kind(), VarKind::Date);
    EXPECT_EQ(date.DateValue(), 45000.5);
    EXPECT_EQ(tools.GetCellValue(4, 3).DoubleValue(), 2.5);
    EXPECT_TRUE(tools.GetCellValue(9, 9).IsEmpty());

    tools.SetRangeValue("C1", Variant::MakeNull());
    EXPECT_TRUE(tools.GetRangeValue("C1").IsEmpty());
}

TEST_F(ToolsFixture, CellsThatCannotBeObtainedReadZeroAndWriteNothing) {
    ASSERT_TRUE(tools.AddWorkbook());
    const Variant zero = tools.GetCellValue(0, 1);
    EXPECT_FALSE(tools.Ok);
    EXPECT_EQ(zero.Kind(), VarKind::I4);
    EXPECT_EQ(zero.IntValue(), 0);
    EXPECT_EQ(tools.GetRangeValue("not an address").IntValue(), 0);
    EXPECT_FALSE(tools.Ok);
    EXPECT_NO_THROW(tools.SetRangeValue("A0", Str("x")));
    EXPECT_NO_THROW(tools.SetCellValue(1, 20000, Str("x")));
    EXPECT_EQ(tools.LastUsedRow(), 1);
    EXPECT_TRUE(tools.GetRangeValue("A1").IsEmpty());
}

TEST_F(ToolsFixture, RangeValuesSpanRectangles) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.SetRangeValue("A1:B2", Variant::FromInt(7));
    EXPECT_EQ(tools.GetCellValue(2, 2).DoubleValue(), 7.0);
    const Variant block = tools.GetRangeValue("A1:B3");
    ASSERT_EQ(block.Kind(), VarKind::Dispatch);
    std::vector<Variant> none;
    EXPECT_EQ(block.Object()->Invoke("Count", InvokeKind::Get, none).IntValue(), 6);
    std::vector<Variant> at{Int(3), Int(2)};
    EXPECT_TRUE(block.Object()->Invoke("Item", InvokeKind::Get, at).IsEmpty());
    // A read block written elsewhere copies the values.
    tools.SetRangeValue("D1:E3", block);
    EXPECT_EQ(tools.GetRangeValue("E2").DoubleValue(), 7.0);
    tools.TargetRangeSpan("B2", "A1");
    EXPECT_TRUE(tools.Ok);
}

TEST_F(ToolsFixture, ClearKeepsFormatsAndLastCellCountsThem) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_EQ(tools.LastUsedRow(), 1);
    EXPECT_EQ(tools.LastUsedColumn(), 1);
    tools.SetRangeValue("C10", Str("x"));
    auto format = tools.FormatRange("E4");
    ASSERT_TRUE(format);
    format->SetBold(true);
    EXPECT_EQ(tools.LastUsedRow(), 10);
    EXPECT_EQ(tools.LastUsedColumn(), 5);
    tools.ClearRange("A1", "E10");
    EXPECT_TRUE(tools.GetRangeValue("C10").IsEmpty());
    EXPECT_TRUE(format->GetBold());
    EXPECT_EQ(tools.LastUsedRow(), 4);
    EXPECT_EQ(tools.LastUsedColumn(), 5);
}

TEST_F(ToolsFixture, CopyAndCutPasteValuesAndFormats) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.SetRangeValue("A1", Str("a"));
    tools.SetRangeValue("B2", Variant::FromInt(2));
    tools.FormatRange("B2")->SetItalic(true);
    tools.CopyRange("A1", "B2");
    tools.PasteAt("D5");
    EXPECT_EQ(tools.GetRangeValue("D5").StrValue(), "a");
    EXPECT_EQ(tools.GetRangeValue("E6").DoubleValue(), 2.0);
    EXPECT_TRUE(tools.FormatRange("E6")->GetItalic());
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "a");  // a copy leaves the source

    tools.CutRange("A1:B2");
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "a");  // emptied only when pasted
    tools.PasteAt("B1");  // overlapping destination
    EXPECT_EQ(tools.GetRangeValue("B1").StrValue(), "a");
    EXPECT_EQ(tools.GetRangeValue("C2").DoubleValue(), 2.0);
    EXPECT_TRUE(tools.GetRangeValue("A1").IsEmpty());
    EXPECT_TRUE(tools.GetRangeValue("B2").IsEmpty());
    EXPECT_FALSE(tools.FormatRange("A1")->GetItalic());
    // The cut is used up; pasting again has nothing to paste.
    EXPECT_THROW(tools.PasteAt("H1"), AutomationError);
}

TEST_F(ToolsFixture, PasteGoesToAnotherWorkbook) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.SetRangeValue("A1", Str("from book 1"));
    tools.CopyRange("A1");
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book2")).Select(Str("Sheet1"));
    tools.PasteAt("C3");
    tools.Select(Str("Book2")).Select(Str("Sheet1"));
    EXPECT_EQ(tools.GetRangeValue("C3").StrValue(), "from book 1");
}

TEST_F(ToolsFixture, RangesOfTheSelectedSheetNotTheActiveOne) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1"));
    ASSERT_TRUE(tools.AddSheet("Second"));  // now active
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    tools.SetRangeValue("A1", Str("first sheet"));
    tools.SelectActiveSheet();
    EXPECT_TRUE(tools.GetRangeValue("A1").IsEmpty());
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "first sheet");
    // Without a sheet, a selected workbook is no range base: that fails.
    tools.Select(Str("Book1"));
    EXPECT_EQ(tools.GetRangeValue("A1").IntValue(), 0);
    EXPECT_FALSE(tools.Ok);
}

TEST_F(ToolsFixture, FormatRangeGivesNoneOnErrorAndEndsStale) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_EQ(tools.FormatRange("ZZZZ1"), nullptr);
    EXPECT_FALSE(tools.Ok);
    EXPECT_TRUE(tools.SelectionStale);
    EXPECT_NE(tools.FormatRange("A1", "C3"), nullptr);
    EXPECT_TRUE(tools.Ok);
}

TEST_F(ToolsFixture, ActivateAndFullNameWorkOnTheSelectedWorkbook) {
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_EQ(tools.WorkbookFullName(), "");  // nothing selected
    tools.Select(Str("Book1"));
    EXPECT_EQ(tools.WorkbookFullName(), "Book1");  // never saved
    EXPECT_TRUE(NothingSelected(tools));
    tools.Select(Str("Book1"));
    tools.ActivateWorkbook();
    tools.SelectActiveWorkbook();
    EXPECT_EQ(tools.CurrentName(), "Book1");
}

TEST_F(ToolsFixture, ClosingWorkbooks) {
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1"));
    EXPECT_TRUE(tools.CloseWorkbook());
    EXPECT_TRUE(NothingSelected(tools));
    EXPECT_EQ(tools.WorkbookCount(), 1);
    EXPECT_EQ(tools.WorkbookName(1), "Book2");
    EXPECT_TRUE(tools.CloseAllWorkbooks());
    EXPECT_EQ(tools.WorkbookCount(), 0);
    EXPECT_FALSE(tools.CloseWorkbook());  // no active workbook
    EXPECT_FALSE(tools.SaveWorkbook());
}

TEST_F(ToolsFixture, SavingANeverSavedBookNeedsAName) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_FALSE(tools.SaveWorkbook());
    EXPECT_TRUE(NothingSelected(tools));
}
