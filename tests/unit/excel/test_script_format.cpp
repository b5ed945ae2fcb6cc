// The format script object: its words, colour numbers, border choice, and
// the sharing of one format between copies.
#include "test_script_support.h"

using namespace formatwords;

TEST(ScriptFormatWords, ColourWordsAndNumbers) {
    EXPECT_EQ(ColorOf("lightgray"), 15);
    EXPECT_EQ(ColorOf("darkpunk"), 13);
    EXPECT_EQ(ColorOf("12"), 12);
    EXPECT_EQ(ColorOf("257"), 1);  // only the low 8 bits count
    EXPECT_EQ(ColorOf("0"), -4105);
    EXPECT_EQ(ColorOf("41"), -4105);
    EXPECT_EQ(ColorOf("99"), -4105);
    EXPECT_EQ(ColorOf("-1"), -4105);
    EXPECT_EQ(ColorOf("pink"), -4105);  // no number: 0
    EXPECT_EQ(ColorReading(-4105), 4294963191);
    EXPECT_EQ(ColorReading(3), 3);
}

// "--" is a dashed line but single-accounting underline; "=" is double
// under both; unlisted words select the fallback row of each table.
TEST(ScriptFormatWords, SameWordsUnderDifferentMembers) {
    EXPECT_EQ(LineStyleOf("--"), 2);
    EXPECT_EQ(UnderlineOf("--"), 4);
    EXPECT_EQ(LineStyleOf("="), 6);
    EXPECT_EQ(UnderlineOf("="), 1);
    EXPECT_EQ(LineStyleOf("wavy"), 0);
    EXPECT_EQ(WeightOf("thick"), 2);
    EXPECT_EQ(WeightOf("heavy"), 3);
    EXPECT_EQ(AlignOf(">"), 1);
    EXPECT_EQ(AlignOf("middle"), 2);
    EXPECT_EQ(VAlignOf("v"), 1);
    EXPECT_EQ(SideOf("left"), 3);
    EXPECT_EQ(SideOf("centre"), -1);
    EXPECT_EQ(LineStyleName(9), "None");
    EXPECT_EQ(WeightName(7), "Thin");
    EXPECT_EQ(UnderlineName(-1), "None");
    EXPECT_EQ(AlignName(5), "Center");
}

class ScriptFormatTest : public ScriptExcelTest {
protected:
    VAR_* Format(VAR_* book, std::vector<VAR_*> corners) { return Keep(Invoke(book, "Format", std::move(corners))); }
};

TEST_F(ScriptFormatTest, MembersTakeWordsInAnyCaseAndReadNames) {
    VAR_* book = Open(Path("format.xlsx"));
    VAR_* format = Format(book, {NewStr("B2"), NewStr("C3")});
    EXPECT_EQ(format->GetStr(), "Excel>Format");
    EXPECT_EQ(ReadText(format, "BorderStyle"), "None");  // no border chosen yet
    EXPECT_EQ(ReadText(format, "Weight"), "HairLine");
    TempRef edge(Call(format, {NewStr("LEFT")}));
    Write(format, "Weight", NewStr("THICK"));
    Write(format, "Line", NewStr("--"));
    Write(format, "LineColor", NewStr("red"));
    EXPECT_EQ(ReadText(format, "Weight"), "Thick");
    EXPECT_EQ(ReadText(format, "BorderStyle"), "Dash");
    EXPECT_EQ(ReadText(format, "BorderColor"), "3");
    TempRef unknown(Call(format, {NewStr("middle")}));  // keeps the left edge
    EXPECT_EQ(ReadText(format, "Line"), "Dash");
    TempRef cleared(format->Method("Clear", nullptr, false));
    EXPECT_EQ(ReadText(format, "Line"), "None");

    Write(format, "U", NewStr("--"));
    EXPECT_EQ(ReadText(format, "UnderLine"), "SingleA");
    Write(format, "BG", NewStr("lightgray"));
    EXPECT_EQ(ReadText(format, "BgColor"), "15");
    Write(format, "Color", NewStr("99"));
    EXPECT_EQ(ReadText(format, "FontColor"), "4294963191");
    Write(format, "Align", NewStr(">"));
    Write(format, "VAlign", NewStr("^"));
    EXPECT_EQ(ReadText(format, "Align"), "Right");
    EXPECT_EQ(ReadText(format, "VAlign"), "Top");
    Write(format, "Size", NewInt(int64_t(1) << 32 | 14));  // cut to 32 bits
    EXPECT_EQ(ReadText(format, "FontSize"), "14");
    Write(format, "B", NewBool(true));
    Write(format, "Familly", NewStr("Arial"));
    EXPECT_EQ(ReadText(format, "Bold"), "True");
    EXPECT_EQ(ReadText(format, "FontName"), "Arial");
    Write(format, "Value", NewInt(5));
    EXPECT_EQ(ReadText(book, "C3"), "5");
}

// Close through one copy leaves the other copy without a range: it
// writes nothing and reads the defaults.
TEST_F(ScriptFormatTest, CopiesShareTheFormatAndOutliveItsClose) {
    VAR_* book = Open(Path("shared.xlsx"));
    VAR_* format = Format(book, {NewStr("A1")});
    VAR_* copy = Keep(format->Copy());
    Write(copy, "Bold", NewBool(true));
    EXPECT_EQ(ReadText(format, "Bold"), "True");
    TempRef closed(format->Method("Close", nullptr, false));
    EXPECT_TRUE(copy->IsNull());
    Write(copy, "Value", NewStr("lost"));
    EXPECT_EQ(ReadText(copy, "Bold"), "False");
    EXPECT_EQ(ReadText(copy, "BG"), "4294963191");
    EXPECT_EQ(ReadText(copy, "Align"), "Center");
    TempRef side(Call(copy, {NewStr("top")}));
    EXPECT_EQ(ReadText(book, "A1"), "Null");
}

TEST_F(ScriptFormatTest, AFormatWithoutARangeReportsItsUse) {
    VAR_* book = Open(Path("norange.xlsx"));
    VAR_* format = Format(book, {NewStr("not an address")});
    EXPECT_TRUE(format->IsNull());
    EXPECT_THROW(format->Method("Bold", nullptr, false), ScriptError);
    EXPECT_THROW(Call(format, {NewStr("left")}), ScriptError);
    EXPECT_EQ(ReadText(format, "Type"), "Excel>Format");  // the common members still answer
}
