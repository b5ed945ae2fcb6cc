// The exact late-bound traffic of TExcelTools and TExcelFormat: member
// names with their letter case, argument kinds and order of the calls.
#include "ExcelTestSupport.h"

using exceltest::Recorder;
using Log = std::vector<std::string>;

namespace {

struct RecordedTools : ::testing::Test {
    void SetUp() override {
        app = CreateAutomationObject("Excel.Application");
        tools.App = Variant::FromObject(std::make_shared<Recorder>(app, &log));
        ASSERT_TRUE(tools.AddWorkbook());
        log.clear();
    }
    AutoRef app;
    Log log;
    TExcelTools tools;
};

}  // namespace

TEST_F(RecordedTools, WorkbookOperationsUseTheirMemberSpelling) {
    tools.AddWorkbook();
    tools.WorkbookCount();
    tools.WorkbookName(1);
    tools.SetVisible(true);
    EXPECT_EQ(log, (Log{"Get WorkBooks()", "Call Add()", "Get Workbooks()", "Get Count()",
                        "Get Workbooks(I4:1)", "Get Name()", "Put visible(Bool:true)"}));
}

TEST_F(RecordedTools, SaveAsSwitchesAlertsAroundTheActiveBook) {
    tools.SaveWorkbookAs("/nonexistent-dir/x.xlsx");
    EXPECT_FALSE(tools.Ok);
    // The failure between the two writes leaves alerts off.
    EXPECT_EQ(log, (Log{"Put DisplayAlerts(Bool:false)", "Get ActiveWorkbook()",
                        "Call SaveAs(Str:/nonexistent-dir/x.xlsx)"}));
}

TEST_F(RecordedTools, CloseAllAndQuit) {
    tools.CloseAllWorkbooks();
    tools.Quit();
    EXPECT_EQ(log, (Log{"Put DisplayAlerts(Bool:false)", "Get WorkBooks()", "Call Close()",
                        "Put DisplayAlerts(Bool:true)", "Put DisplayAlerts(Bool:false)", "Call Quit()"}));
}

TEST_F(RecordedTools, SelectionAndSheetCalls) {
    tools.Select(Variant::FromStr("Book1")).Select(Variant::FromInt(1, VarKind::I4));
    tools.CurrentName();
    tools.Select(Variant::FromStr("Book1"));
    tools.SheetName(1);
    EXPECT_EQ(log, (Log{"Get Workbooks(Str:Book1)", "Get Sheets()", "Get Item(I4:1)", "Get Name()",
                        "Get Workbooks(Str:Book1)", "Get Sheets()", "Get Item(I4:1)", "Get Name()"}));
    log.clear();
    tools.Select(Variant::FromStr("Book1"));
    tools.AddSheet("New");
    tools.Select(Variant::FromStr("Book1"));
    tools.DeleteSheet(Variant::FromStr("New"));
    EXPECT_EQ(log, (Log{"Get Workbooks(Str:Book1)", "Get Sheets()", "Call Add()", "Put Name(Str:New)",
                        "Get Workbooks(Str:Book1)", "Put DisplayAlerts(Bool:false)", "Get Sheets(Str:New)",
                        "Call Delete()", "Put DisplayAlerts(Bool:true)"}));
}

TEST_F(RecordedTools, RangeOperationsActOnTheSelection) {
    tools.ClearRange("A1", "B2");
    tools.CopyRange("A1");
    tools.PasteAt("C3");
    tools.SetCellValue(2, 3, Variant::FromInt(5));
    EXPECT_EQ(log, (Log{"Get Range(Str:A1,Str:B2)", "Call Select()", "Get Selection()", "Call ClearContents()",
                        "Get Range(Str:A1)", "Call Select()", "Get Selection()", "Call Copy()",
                        "Get Range(Str:C3)", "Call Select()", "Get ActiveSheet()", "Call Paste()",
                        "Get Cells(I4:2,I4:3)", "Put Value(Kind20:5)"}));
}

TEST_F(RecordedTools, LastUsedCellPassesAMissingArgument) {
    tools.LastUsedRow();
    EXPECT_EQ(log, (Log{"Get Cells()", "Call SpecialCells(I4:11,Missing)", "Get Row()"}));
}

TEST_F(RecordedTools, FormatSendsCodesOnlyWhenTheyAreKnown) {
    auto format = tools.FormatRange("A1");
    log.clear();
    format->SetAlign(5);
    format->SetLineStyle(1);  // no border selected
    EXPECT_TRUE(log.empty());
    format->SetAlign(1);
    format->SelectBorder(3);
    format->SetWeight(1);
    format->SetMerge(true);
    EXPECT_EQ(log, (Log{"Put HorizontalAlignment(I4:-4152)", "Get Borders(I4:7)", "Put Weight(I4:-4138)",
                        "Put DisplayAlerts(Bool:false)", "Call Merge()", "Put DisplayAlerts(Bool:true)"}));
    log.clear();
    format->SetFontSize(12);
    format->SetBgColor(6);
    format->GetUnderline();
    EXPECT_EQ(log, (Log{"Get Font()", "Put Size(I4:12)", "Get Interior()", "Put ColorIndex(I4:6)",
                        "Get Font()", "Get Underline()"}));
}
