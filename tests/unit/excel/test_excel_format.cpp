// TExcelFormat against the in-process server: fonts, fills, borders,
// alignment and merging through the program's code tables.
#include "ExcelTestSupport.h"

using exceltest::ToolsFixture;

namespace {

struct FormatFixture : ToolsFixture {
    void SetUp() override {
        ToolsFixture::SetUp();
        ASSERT_TRUE(tools.AddWorkbook());
        format = tools.FormatRange("B2:C3");
        ASSERT_TRUE(format);
    }
    std::unique_ptr<TExcelFormat> format;
};

}  // namespace

TEST_F(FormatFixture, NewCellsHaveTheApplicationDefaults) {
    EXPECT_FALSE(format->GetBold());
    EXPECT_EQ(format->GetFontName(), "Calibri");
    EXPECT_EQ(format->GetFontSize(), 11);
    EXPECT_EQ(format->GetFontColor(), -4105);
    EXPECT_EQ(format->GetBgColor(), -4142);
    EXPECT_EQ(format->GetAlign(), 2);   // xlGeneral is neither left nor right
    EXPECT_EQ(format->GetVAlign(), 1);  // xlBottom
    EXPECT_EQ(format->GetUnderline(), 0);
    format->SelectBorder(2);
    EXPECT_EQ(format->GetLineStyle(), 0);
    EXPECT_EQ(format->GetWeight(), 3);  // xlThin
    EXPECT_EQ(format->GetBorderColor(), -4105);
}

TEST_F(FormatFixture, FontAndFillChangesReadBack) {
    format->SetBold(true);
    format->SetItalic(true);
    format->SetStrike(true);
    format->SetFontName("Arial");
    format->SetFontSize(14);
    format->SetFontColor(3);
    format->SetBgColor(15);
    EXPECT_TRUE(format->GetBold() && format->GetItalic() && format->GetStrike());
    EXPECT_EQ(format->GetFontName(), "Arial");
    EXPECT_EQ(format->GetFontSize(), 14);
    EXPECT_EQ(format->GetFontColor(), 3);
    EXPECT_EQ(format->GetBgColor(), 15);
    // Every cell of the range changed, none outside it.
    EXPECT_TRUE(tools.FormatRange("C3")->GetBold());
    EXPECT_FALSE(tools.FormatRange("D3")->GetBold());
    format->SetBgColor(-4105);  // automatic fill means no fill
    EXPECT_EQ(format->GetBgColor(), -4142);
    EXPECT_THROW(format->SetFontColor(99), AutomationError);
    EXPECT_THROW(format->SetFontSize(0), AutomationError);
}

TEST_F(FormatFixture, AlignmentCodes) {
    format->SetAlign(1);
    EXPECT_EQ(format->GetAlign(), 1);
    format->SetAlign(0);
    EXPECT_EQ(format->GetAlign(), 0);
    format->SetAlign(5);  // sends nothing
    EXPECT_EQ(format->GetAlign(), 0);
    format->SetAlign(2);
    EXPECT_EQ(format->GetAlign(), 2);
    format->SetVAlign(0);
    EXPECT_EQ(format->GetVAlign(), 0);
    format->SetVAlign(2);
    EXPECT_EQ(format->GetVAlign(), 2);
    format->SetVAlign(1);
    EXPECT_EQ(format->GetVAlign(), 1);
}

TEST_F(FormatFixture, UnderlineCodesRoundTrip) {
    for (int code = 0; code <= 4; ++code) {
        format->SetUnderline(code);
        EXPECT_EQ(format->GetUnderline(), code);
    }
    format->SetUnderline(3);
    format->SetUnderline(9);  // sends nothing
    EXPECT_EQ(format->GetUnderline(), 3);
}

TEST_F(FormatFixture, BorderStylesWeightsAndColoursOfEachSide) {
    for (int side = 0; side <= 7; ++side) {
        format->SelectBorder(side);
        for (int style = 0; style <= 7; ++style) {
            format->SetLineStyle(style);
            EXPECT_EQ(format->GetLineStyle(), style) << "side " << side;
        }
        for (int weight = 0; weight <= 3; ++weight) {
            format->SetWeight(weight);
            EXPECT_EQ(format->GetWeight(), weight) << "side " << side;
        }
        format->SetBorderColor(5);
        EXPECT_EQ(format->GetBorderColor(), 5);
    }
    format->SelectBorder(3);
    format->SetLineStyle(8);  // sends nothing
    format->SetWeight(4);     // sends nothing
    EXPECT_EQ(format->GetLineStyle(), 7);
    EXPECT_EQ(format->GetWeight(), 3);
}

TEST_F(FormatFixture, BorderEdgesLandOnTheRightCells) {
    format->SelectBorder(2);  // bottom edge of B2:C3
    format->SetLineStyle(6);
    auto below = tools.FormatRange("C3");
    below->SelectBorder(2);
    EXPECT_EQ(below->GetLineStyle(), 6);
    auto above = tools.FormatRange("C2");
    above->SelectBorder(2);
    EXPECT_EQ(above->GetLineStyle(), 0);
    format->SelectBorder(6);  // inside horizontal: between rows 2 and 3
    format->SetLineStyle(1);
    above->SelectBorder(2);
    EXPECT_EQ(above->GetLineStyle(), 1);
    below->SelectBorder(5);  // top of C3
    EXPECT_EQ(below->GetLineStyle(), 1);
}

TEST_F(FormatFixture, UnknownSideOrNoBorderSendsNothing) {
    format->SelectBorder(9);
    EXPECT_FALSE(TExcelTools::IsSelected(format->Border));
    format->SetLineStyle(6);
    EXPECT_EQ(format->GetLineStyle(), 0);
    EXPECT_EQ(format->GetWeight(), 0);  // hairline is the unset default
    EXPECT_EQ(format->GetBorderColor(), -4105);
    format->SelectBorder(4);
    format->ClearBorder();
    EXPECT_FALSE(TExcelTools::IsSelected(format->Border));
}

TEST_F(ToolsFixture, FormatWithoutRangeUsesDefaultsAndTheSelection) {
    ASSERT_TRUE(tools.AddWorkbook());
    TExcelFormat format(tools, TExcelTools::Unset());
    EXPECT_EQ(format.GetValue().IntValue(), 0);
    EXPECT_FALSE(format.GetBold());
    EXPECT_EQ(format.GetFontName(), "");
    EXPECT_EQ(format.GetFontSize(), 0);
    EXPECT_EQ(format.GetFontColor(), -4105);
    EXPECT_EQ(format.GetBgColor(), -4105);
    EXPECT_EQ(format.GetAlign(), 2);
    EXPECT_EQ(format.GetVAlign(), 2);
    EXPECT_EQ(format.GetUnderline(), 0);
    format.SetBold(true);  // sends nothing

    tools.CopyRange("D4");  // selects D4
    format.SelectBorder(2);
    ASSERT_TRUE(TExcelTools::IsSelected(format.Range));
    format.SetLineStyle(1);
    auto d4 = tools.FormatRange("D4");
    d4->SelectBorder(2);
    EXPECT_EQ(d4->GetLineStyle(), 1);
    EXPECT_FALSE(d4->GetBold());
}

TEST_F(FormatFixture, ValueAndMerge) {
    format->SetValue(Variant::FromStr("title"));
    EXPECT_EQ(format->GetValue().Kind(), VarKind::Dispatch);  // a block of four cells
    auto corner = tools.FormatRange("B2");
    EXPECT_EQ(corner->GetValue().StrValue(), "title");
    format->SetMerge(true);
    EXPECT_TRUE(tools.FormatRange("C3")->GetValue().IsEmpty());  // only the corner keeps its value
    EXPECT_EQ(corner->GetValue().StrValue(), "title");
    std::vector<Variant> none;
    EXPECT_TRUE(tools.App.Object()->Invoke("DisplayAlerts", InvokeKind::Get, none).BoolValue());
    std::vector<Variant> args;
    EXPECT_TRUE(format->Range.Object()->Invoke("MergeCells", InvokeKind::Get, args).BoolValue());
    format->SetMerge(false);
    EXPECT_FALSE(format->Range.Object()->Invoke("MergeCells", InvokeKind::Get, args).BoolValue());
}

TEST(ExcelCodes, DecodingFallsBackToTheMarkedRow) {
    using namespace excelcodes;
    EXPECT_EQ(AlignCode(-4152), 1);
    EXPECT_EQ(AlignCode(-4131), 0);
    EXPECT_EQ(AlignCode(1), 2);
    EXPECT_EQ(VAlignCode(-4160), 0);
    EXPECT_EQ(VAlignCode(-4130), 2);
    EXPECT_EQ(LineStyleCode(13), 7);
    EXPECT_EQ(LineStyleCode(99), 0);
    EXPECT_EQ(WeightCode(2), 3);
    EXPECT_EQ(WeightCode(7), 0);
    EXPECT_EQ(UnderlineCode(5), 2);
    EXPECT_EQ(UnderlineCode(-1), 0);
    EXPECT_EQ(BordersIndexOfSide(7), 11);
    EXPECT_EQ(BordersIndexOfSide(-1), 0);
    int value = 0;
    EXPECT_FALSE(LineStyleValue(8, value));
    EXPECT_FALSE(WeightValue(-1, value));
    EXPECT_TRUE(UnderlineValue(4, value));
    EXPECT_EQ(value, 4);
}
