// What every TExcelTools operation leaves of the selection: reset (both
// unset), stale (the next Select starts afresh) or untouched; and that this
// holds when the operation fails, too.
#include <functional>

#include "ExcelTestSupport.h"

namespace {

enum class After { Reset, Stale, Untouched };

struct Case {
    const char* name;
    std::function<void(TExcelTools&)> run;
    After after;
};

Variant Str(const char* text) { return Variant::FromStr(text); }

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"AddWorkbook", [](TExcelTools& t) { t.AddWorkbook(); }, After::Reset},
        {"OpenWorkbook", [](TExcelTools& t) { t.OpenWorkbook("/nonexistent/file.xlsx"); }, After::Reset},
        {"SaveWorkbook", [](TExcelTools& t) { t.SaveWorkbook(); }, After::Reset},
        {"SaveWorkbookAs", [](TExcelTools& t) { t.SaveWorkbookAs("/nonexistent/file.xlsx"); }, After::Reset},
        {"WorkbookCount", [](TExcelTools& t) { t.WorkbookCount(); }, After::Reset},
        {"WorkbookName", [](TExcelTools& t) { t.WorkbookName(1); }, After::Stale},
        {"WorkbookFullName", [](TExcelTools& t) { t.WorkbookFullName(); }, After::Reset},
        {"ActivateWorkbook", [](TExcelTools& t) { t.ActivateWorkbook(); }, After::Untouched},
        {"ShowSheet", [](TExcelTools& t) { t.ShowSheet(); }, After::Untouched},
        {"AddSheet", [](TExcelTools& t) { t.AddSheet("Extra"); }, After::Reset},
        {"SheetCount", [](TExcelTools& t) { t.SheetCount(); }, After::Reset},
        {"SheetName", [](TExcelTools& t) { t.SheetName(1); }, After::Stale},
        {"DeleteSheet", [](TExcelTools& t) { t.DeleteSheet(Str("NoSuchSheet")); }, After::Reset},
        {"CurrentName", [](TExcelTools& t) { t.CurrentName(); }, After::Reset},
        {"Rename", [](TExcelTools& t) { t.Rename("Renamed"); }, After::Reset},
        {"TargetRange", [](TExcelTools& t) { t.TargetRange("A1"); }, After::Stale},
        {"TargetRangeSpan", [](TExcelTools& t) { t.TargetRangeSpan("A1", "B2"); }, After::Stale},
        {"TargetCell", [](TExcelTools& t) { t.TargetCell(0, 0); }, After::Stale},
        {"GetRangeValue", [](TExcelTools& t) { t.GetRangeValue("A1"); }, After::Stale},
        {"SetCellValue", [](TExcelTools& t) { t.SetCellValue(1, 1, Str("x")); }, After::Stale},
        {"CopyRange", [](TExcelTools& t) { t.CopyRange("A1"); }, After::Stale},
        {"FormatRange", [](TExcelTools& t) { t.FormatRange("A1"); }, After::Stale},
        {"LastUsedRow", [](TExcelTools& t) { t.LastUsedRow(); }, After::Untouched},
        {"CloseWorkbook", [](TExcelTools& t) { t.CloseWorkbook(); }, After::Reset},
        {"CloseAllWorkbooks", [](TExcelTools& t) { t.CloseAllWorkbooks(); }, After::Reset},
    };
    return cases;
}

}  // namespace

TEST(ExcelSelectionState, EachOperationLeavesItsOwnState) {
    for (const Case& c : Cases()) {
        TExcelTools tools;
        ASSERT_TRUE(tools.Connect());
        ASSERT_TRUE(tools.AddWorkbook());
        tools.Select(Str("Book1")).Select(Str("Sheet1"));
        ASSERT_TRUE(TExcelTools::IsSelected(tools.Worksheet));
        try {
            c.run(tools);
        } catch (const AutomationError&) {
            // unguarded failures still leave their state behind
        }
        const bool selected = TExcelTools::IsSelected(tools.Workbook) && TExcelTools::IsSelected(tools.Worksheet);
        const bool none = !TExcelTools::IsSelected(tools.Workbook) && !TExcelTools::IsSelected(tools.Worksheet);
        switch (c.after) {
        case After::Reset: EXPECT_TRUE(none) << c.name; EXPECT_FALSE(tools.SelectionStale) << c.name; break;
        case After::Stale: EXPECT_TRUE(selected) << c.name; EXPECT_TRUE(tools.SelectionStale) << c.name; break;
        case After::Untouched: EXPECT_TRUE(selected) << c.name; EXPECT_FALSE(tools.SelectionStale) << c.name; break;
        }
    }
}

using ExcelShowSheet = exceltest::ToolsFixture;

TEST_F(ExcelShowSheet, ActivatesTheSelectedSheet) {
    ASSERT_TRUE(tools.AddWorkbook());
    tools.Select(Str("Book1"));
    ASSERT_TRUE(tools.AddSheet("Later"));  // the new sheet is active
    tools.Select(Str("Book1")).Select(Str("Sheet1"));
    tools.ShowSheet();
    tools.ResetSelection();
    tools.SelectActiveSheet();
    EXPECT_EQ(tools.CurrentName(), "Sheet1");
    tools.ShowSheet();  // nothing selected: nothing happens
}
