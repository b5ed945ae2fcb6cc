// Workbooks through files: save and open again through TExcelTools, the
// file's name and place, and what a failed save leaves behind.
#include <fstream>

#include "ExcelTestSupport.h"
#include "excel/XlsxFile.h"

using exceltest::ToolsFixture;

namespace {

Variant Str(const std::string& text) { return Variant::FromStr(text); }

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct FileFixture : ToolsFixture {
    void SetUp() override {
        ToolsFixture::SetUp();
        dir = exceltest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string PathOf(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;

    // A book with values of every kind and every format the model holds.
    void BuildReport(const std::string& path) {
        ASSERT_TRUE(tools.AddWorkbook());
        tools.Select(Str("Book1")).Select(Str("Sheet1"));
        tools.Rename("\xce\xf2\xf7\xe5\xf2");  // "Report" in Russian, Windows-1251
        tools.SetRangeValue("A1", Str("\xc8\xf2\xee\xe3\xee: _x0041_ tab\there"));
        tools.SetRangeValue("B1", Variant::FromDouble(1234.5678));
        tools.SetRangeValue("C1", Variant::FromBool(false));
        tools.SetRangeValue("D1", Variant::FromDate(45366.0));
        tools.SetRangeValue("E1", Variant::FromDate(45366.75));
        tools.SetRangeValue("F1", Str(std::string("ctl\x01") + "x"));
        auto title = tools.FormatRange("A1");
        title->SetBold(true);
        title->SetItalic(true);
        title->SetStrike(true);
        title->SetUnderline(2);
        title->SetFontName("Arial");
        title->SetFontSize(16);
        title->SetFontColor(3);
        title->SetBgColor(6);
        title->SetAlign(2);
        title->SetVAlign(0);
        auto box = tools.FormatRange("B3", "D5");
        const int sides[] = {2, 3, 4, 5};
        const int styles[] = {1, 2, 5, 6};
        for (int i = 0; i < 4; ++i) {
            box->SelectBorder(sides[i]);
            box->SetLineStyle(styles[i]);
            box->SetBorderColor(10 + i);
        }
        box->SelectBorder(3);
        box->SetWeight(1);  // medium dashes... on a continuous left edge
        box->SelectBorder(0);
        box->SetLineStyle(3);
        tools.FormatRange("B7:C8")->SetMerge(true);
        tools.Select(Str("Book1"));
        ASSERT_TRUE(tools.AddSheet("Second"));
        tools.Select(Str("Book1")).Select(Str("Second"));
        tools.SetCellValue(3, 2, Variant::FromInt(-7));
        ASSERT_TRUE(tools.SaveWorkbookAs(path));
    }
};

}  // namespace

TEST_F(FileFixture, EverythingTheModelHoldsSurvivesSaveAndOpen) {
    const std::string path = PathOf("report.xlsx");
    BuildReport(path);
    ASSERT_TRUE(tools.CloseAllWorkbooks());
    ASSERT_TRUE(tools.OpenWorkbook(path));
    tools.SelectActiveSheet();
    EXPECT_EQ(tools.CurrentName(), "Second");
    tools.Select(Str("report.xlsx"));
    ASSERT_EQ(tools.SheetCount(), 2);
    tools.Select(Str("report.xlsx")).Select(Str("\xce\xf2\xf7\xe5\xf2"));
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "\xc8\xf2\xee\xe3\xee: _x0041_ tab\there");
    EXPECT_EQ(tools.GetRangeValue("B1").DoubleValue(), 1234.5678);
    EXPECT_EQ(tools.GetRangeValue("C1").Kind(), VarKind::Bool);
    EXPECT_FALSE(tools.GetRangeValue("C1").BoolValue());
    EXPECT_EQ(tools.GetRangeValue("D1").Kind(), VarKind::Date);
    EXPECT_EQ(tools.GetRangeValue("E1").DateValue(), 45366.75);
    EXPECT_EQ(tools.GetRangeValue("F1").StrValue(), std::string("ctl\x01") + "x");

    auto title = tools.FormatRange("A1");
    EXPECT_TRUE(title->GetBold() && title->GetItalic() && title->GetStrike());
    EXPECT_EQ(title->GetUnderline(), 2);
    EXPECT_EQ(title->GetFontName(), "Arial");
    EXPECT_EQ(title->GetFontSize(), 16);
    EXPECT_EQ(title->GetFontColor(), 3);
    EXPECT_EQ(title->GetBgColor(), 6);
    EXPECT_EQ(title->GetAlign(), 2);
    EXPECT_EQ(title->GetVAlign(), 0);
    auto corner = tools.FormatRange("B5");
    corner->SelectBorder(2);
    EXPECT_EQ(corner->GetLineStyle(), 1);
    EXPECT_EQ(corner->GetBorderColor(), 10);
    corner->SelectBorder(3);
    EXPECT_EQ(corner->GetLineStyle(), 2);
    EXPECT_EQ(corner->GetWeight(), 1);
    EXPECT_EQ(corner->GetBorderColor(), 11);
    auto right = tools.FormatRange("D3");
    right->SelectBorder(4);
    EXPECT_EQ(right->GetLineStyle(), 5);
    right->SelectBorder(5);
    EXPECT_EQ(right->GetLineStyle(), 6);
    EXPECT_EQ(right->GetBorderColor(), 13);
    right->SelectBorder(0);
    EXPECT_EQ(right->GetLineStyle(), 3);
    std::vector<Variant> none;
    auto merged = tools.FormatRange("C8");
    EXPECT_TRUE(merged->Range.Object()->Invoke("MergeCells", InvokeKind::Get, none).BoolValue());
    tools.Select(Str("report.xlsx")).Select(Str("Second"));
    EXPECT_EQ(tools.GetCellValue(3, 2).DoubleValue(), -7.0);
    EXPECT_EQ(tools.LastUsedRow(), 3);
}

TEST_F(FileFixture, SavedNameIsTheFileNamePartWhateverTheSeparators) {
    std::filesystem::create_directories(dir / "sub");
    ASSERT_TRUE(tools.AddWorkbook());
    const std::string windowsStyle = dir.string() + "\\sub\\out.xls";
    ASSERT_TRUE(tools.SaveWorkbookAs(windowsStyle));
    EXPECT_TRUE(std::filesystem::exists(dir / "sub" / "out.xls"));
    EXPECT_EQ(tools.WorkbookName(1), "out.xls");
    tools.Select(Str("out.xls"));
    EXPECT_EQ(tools.WorkbookFullName(), (dir / "sub" / "out.xls").string());
    // An .xls name still holds an .xlsx package.
    EXPECT_EQ(Slurp(dir / "sub" / "out.xls").substr(0, 2), "PK");
    // Opening it again by the other spelling finds the open book.
    ASSERT_TRUE(tools.OpenWorkbook(dir.string() + "/sub/out.xls"));
    EXPECT_EQ(tools.WorkbookCount(), 1);
}

TEST_F(FileFixture, MissingFileFailsToOpenAndCanBeCreated) {
    const std::string path = PathOf("new.xlsx");
    EXPECT_FALSE(tools.OpenWorkbook(path));
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.SaveWorkbookAs(path));
    tools.Select(Str("new.xlsx")).Select(Str("Sheet1"));
    EXPECT_EQ(tools.CurrentName(), "Sheet1");
}

TEST_F(FileFixture, NothingReachesTheFileWithoutSave) {
    const std::string path = PathOf("keep.xlsx");
    ASSERT_TRUE(tools.AddWorkbook());
    tools.SetRangeValue("A1", Str("saved"));
    ASSERT_TRUE(tools.SaveWorkbookAs(path));
    const std::string before = Slurp(path);
    tools.Select(Str("keep.xlsx")).Select(Str("Sheet1"));
    tools.SetRangeValue("A1", Str("changed"));
    EXPECT_EQ(Slurp(path), before);
    tools.Select(Str("keep.xlsx"));
    ASSERT_TRUE(tools.CloseWorkbook());  // alerts off: changes are discarded
    EXPECT_EQ(Slurp(path), before);
    ASSERT_TRUE(tools.OpenWorkbook(path));
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "saved");
    tools.SetRangeValue("A1", Str("changed"));
    tools.Select(Str("keep.xlsx"));
    ASSERT_TRUE(tools.SaveWorkbook());
    ASSERT_TRUE(tools.CloseAllWorkbooks());
    ASSERT_TRUE(tools.OpenWorkbook(path));
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "changed");
}

TEST_F(FileFixture, AFailedSaveLeavesNoFileAndNoTemporary) {
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_FALSE(tools.SaveWorkbookAs(PathOf("no/such/dir/x.xlsx")));
    // A directory in the way: the rename fails, the directory stays as it was.
    std::filesystem::create_directories(dir / "taken.xlsx" / "inside");
    EXPECT_FALSE(tools.SaveWorkbookAs(PathOf("taken.xlsx")));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.xlsx" / "inside"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u);
    EXPECT_EQ(tools.WorkbookName(1), "Book1");  // still unsaved under its first name
}

TEST_F(FileFixture, ABookCannotBeSavedOverAnotherOpenOne) {
    ASSERT_TRUE(tools.AddWorkbook());
    ASSERT_TRUE(tools.SaveWorkbookAs(PathOf("a.xlsx")));
    ASSERT_TRUE(tools.AddWorkbook());
    EXPECT_FALSE(tools.SaveWorkbookAs(PathOf("a.xlsx")));
}

TEST(XlsxReading, FixtureWrittenByAnIndependentWriter) {
    const auto book = xl::ReadWorkbookFile(std::string(TEST_DATA_DIR) + "/excel/styled.xlsx");
    ASSERT_EQ(book->sheets.size(), 2u);
    EXPECT_EQ(book->activeSheet, 1);
    const xl::SheetModel& data = *book->sheets[0];
    EXPECT_EQ(data.name, "Data");
    const auto text = [&](int row, int col) { return data.Find(row, col)->value.text; };
    const auto format = [&](int row, int col) { return book->styles.Get(data.Find(row, col)->style); };
    EXPECT_EQ(text(1, 1), "\xcd\xe0\xe7\xe2\xe0\xed\xe8\xe5");  // "Название"
    EXPECT_EQ(data.Find(1, 2)->value.number, 42.0);
    EXPECT_TRUE(data.Find(1, 4)->value.flag);
    EXPECT_TRUE(book->IsDateFormat(format(1, 5).numberFormat));
    EXPECT_DOUBLE_EQ(data.Find(1, 6)->value.number, 45366.0 + 12.5 / 24);
    const xl::FontFormat font = format(2, 1).font;
    EXPECT_TRUE(font.bold && font.italic && font.strike);
    EXPECT_EQ(font.underline, xl::kUnderlineDouble);
    EXPECT_EQ(font.name, "Arial");
    EXPECT_EQ(font.size, 14);
    EXPECT_EQ(font.colorIndex, 3);
    EXPECT_EQ(format(1, 1).font.colorIndex, xl::kColorAutomatic);  // theme text colour
    EXPECT_EQ(format(2, 2).fillColorIndex, 6);
    const auto& borders = format(2, 3).borders;
    EXPECT_EQ(borders[xl::EdgeLeft], (xl::BorderLine{xl::kContinuous, xl::kThin, 5}));
    EXPECT_EQ(borders[xl::EdgeRight], (xl::BorderLine{xl::kDash, xl::kMedium, xl::kColorAutomatic}));
    EXPECT_EQ(borders[xl::EdgeTop].lineStyle, xl::kDouble);
    EXPECT_EQ(borders[xl::EdgeBottom], (xl::BorderLine{xl::kContinuous, xl::kThick, 10}));
    EXPECT_EQ(format(2, 4).hAlign, xl::kAlignCenter);
    EXPECT_EQ(format(2, 4).vAlign, xl::kAlignTop);
    EXPECT_EQ(format(2, 5).hAlign, xl::kAlignRight);
    EXPECT_EQ(format(2, 5).vAlign, xl::kAlignCenter);
    ASSERT_EQ(data.merges.size(), 1u);
    EXPECT_EQ(data.merges[0], (xl::RangeRect{4, 1, 5, 3}));
    const xl::SheetModel& second = *book->sheets[1];
    EXPECT_EQ(second.Find(3, 2)->value.text, "inline");
    EXPECT_EQ(second.LastUsedCell().row, 10);
}

TEST_F(FileFixture, LegacyWorkbooksOpenReadOnly) {
#ifndef SCRIPTRUN_HAVE_FREEXL
    GTEST_SKIP() << "built without libfreexl: legacy .xls workbooks are not read";
#endif
    const auto copy = dir / "legacy.xls";
    std::filesystem::copy_file(std::string(TEST_DATA_DIR) + "/excel/legacy.xls", copy);
    ASSERT_TRUE(tools.OpenWorkbook(copy.string()));
    tools.Select(Str("legacy.xls"));
    EXPECT_EQ(tools.SheetCount(), 2);
    tools.Select(Str("legacy.xls")).Select(Str("\xcb\xe8\xf1\xf2"));  // "Лист"
    EXPECT_EQ(tools.GetRangeValue("A1").StrValue(), "\xd2\xe5\xea\xf1\xf2");  // "Текст"
    EXPECT_EQ(tools.GetRangeValue("B1").DoubleValue(), 7.0);
    EXPECT_EQ(tools.GetRangeValue("C1").DoubleValue(), 0.25);
    EXPECT_EQ(tools.GetRangeValue("A2").Kind(), VarKind::Date);
    EXPECT_EQ(tools.GetRangeValue("B2").DateValue(), 45366.75);
    tools.Select(Str("legacy.xls"));
    EXPECT_FALSE(tools.SaveWorkbook());  // the legacy file stays as it was
    tools.Select(Str("legacy.xls"));
    EXPECT_TRUE(tools.SaveWorkbookAs(PathOf("converted.xlsx")));
    tools.Select(Str("converted.xlsx")).Select(Str("Other"));
    EXPECT_EQ(tools.GetRangeValue("C3").StrValue(), "third");
}
