#include "values/unitUtils.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FormatFixed, RoundsWithTheCarryDigit) {
    EXPECT_EQ(FormatFixed(0, 2, 3.14159L), "3.14");
    EXPECT_EQ(FormatFixed(0, 2, 3.146L), "3.15");
    EXPECT_EQ(FormatFixed(0, 2, 1.05L), "1.05");
    EXPECT_EQ(FormatFixed(0, 2, 9.999L), "10.00");
    EXPECT_EQ(FormatFixed(0, 2, -0.996L), "-1.00");
    EXPECT_EQ(FormatFixed(0, 1, -0.5L), "-0.5");
    EXPECT_EQ(FormatFixed(0, 3, 0.0L), "0.000");
}

TEST(FormatFixed, NoDecimalsTruncates) {
    EXPECT_EQ(FormatFixed(0, 0, 2.5L), "2");
    EXPECT_EQ(FormatFixed(0, 0, 2.7L), "2");
    EXPECT_EQ(FormatFixed(0, 0, 0.5L), "0");
    EXPECT_EQ(FormatFixed(0, 0, -0.5L), "-0");
    EXPECT_EQ(FormatFixed(0, 0, -7.9L), "-7");
}

TEST(FormatFixed, WidthPadsTheIntegerPart) {
    EXPECT_EQ(FormatFixed(5, 1, 3.25L), "    3.3");
    EXPECT_EQ(FormatFixed(3, 0, 42.0L), " 42");
    EXPECT_EQ(FormatFixed(1, 0, 42.0L), "42");
    // A carry into the padding blank turns it into "1".
    EXPECT_EQ(FormatFixed(2, 1, 9.96L), "10.0");
    // A carry into the sign keeps the sign in front.
    EXPECT_EQ(FormatFixed(3, 1, -9.96L), " -10.0");
    EXPECT_EQ(FormatFixed(0, 1, -9.96L), "-10.0");
}

TEST(FormatFixed, ExtremeArgumentsStaySafe) {
    EXPECT_EQ(FormatFixed(0, 2, 1e20L), "100000000000000000000.00");
    EXPECT_EQ(FormatFixed(0, 20, 0.5L), "0.50000000000000000000");
    EXPECT_EQ(FormatFixed(-4, -1, 3.5L), "3");
    EXPECT_EQ(FormatFixed(0, 16, 0.9999999999999999999L), "1.0000000000000000");
    EXPECT_EQ(FormatFixed(4, 2, NAN), " NAN");
    EXPECT_EQ(FormatFixed(0, 2, -INFINITY), "-INF");
    EXPECT_EQ(FormatFixed(1 << 30, 1, 1.0L).size(), 65535u + 2u);
}

TEST(Columns, LettersAndNumbers) {
    EXPECT_EQ(ColumnLetters(1), "A");
    EXPECT_EQ(ColumnLetters(26), "Z");
    EXPECT_EQ(ColumnLetters(27), "AA");
    EXPECT_EQ(ColumnLetters(52), "AZ");
    EXPECT_EQ(ColumnLetters(53), "BA");
    EXPECT_EQ(ColumnLetters(702), "ZZ");
    EXPECT_EQ(ColumnLetters(0), "");
    EXPECT_EQ(ColumnLetters(703), "");
    EXPECT_EQ(ColumnLetters(-5), "");

    EXPECT_EQ(ColumnNumber(""), 0);
    EXPECT_EQ(ColumnNumber("1A"), 0);
    EXPECT_EQ(ColumnNumber("aa"), 27);
    EXPECT_EQ(ColumnNumber("AB"), 28);
    EXPECT_EQ(ColumnNumber("ab"), 28);
    EXPECT_EQ(ColumnNumber("ZZ"), 702);
    EXPECT_EQ(ColumnNumber("ABC"), 28);
    EXPECT_EQ(ColumnNumber("A1"), 26);
    EXPECT_EQ(ColumnNumber("B12"), 52);
    for (int n = 1; n <= 702; ++n) EXPECT_EQ(ColumnNumber(ColumnLetters(n)), n);
}

TEST(TextLists, SplitJoinIndex) {
    EXPECT_EQ(SplitText("a,,b", ","), (TextList{"a", "", "b"}));
    EXPECT_EQ(SplitText("abc", ""), (TextList{"abc"}));
    EXPECT_EQ(SplitText("abc", "x"), (TextList{"abc"}));
    EXPECT_EQ(SplitText("", ","), (TextList{""}));
    EXPECT_EQ(SplitText(",a,", ","), (TextList{"", "a", ""}));
    EXPECT_EQ(SplitText("aaa", "aa"), (TextList{"", "a"}));  // no overlap
    EXPECT_EQ(JoinTexts({"a", "", "b"}, "--"), "a----b");
    EXPECT_EQ(JoinTexts({}, ","), "");
    TextList list;
    AppendText(list, "x");
    AppendText(list, "y");
    EXPECT_EQ(IndexOfText(list, "y"), 1);
    EXPECT_EQ(IndexOfText(list, "Y"), -1);
}

TEST(TextSearch, FromTheEnd) {
    EXPECT_EQ(LastPos("c", "abc"), 3);
    EXPECT_EQ(LastPos("abc", "abc"), 1);
    EXPECT_EQ(LastPos("x", "abc"), 0);
    EXPECT_EQ(LastPos("abcd", "abc"), 0);
    EXPECT_EQ(LastPos("ab", "abab"), 3);
    EXPECT_EQ(LastPos("", "abc"), 0);
    EXPECT_EQ(LastCharPos("a.b.c", '.'), 4);
    EXPECT_EQ(LastCharPos("abc", '.'), 0);
}

TEST(TextPadding, RepeatZeroPadPower) {
    EXPECT_EQ(RepeatText("ab", 3), "ababab");
    EXPECT_EQ(RepeatText("ab", 0), "");
    const std::string many = RepeatText("x", uint16_t(-1));
    EXPECT_EQ(many.size(), 65535u);
    EXPECT_EQ(ZeroPad(3, 5), "005");
    EXPECT_EQ(ZeroPad(3, -5), "0-5");
    EXPECT_EQ(ZeroPad(1, 1234), "1234");
    EXPECT_EQ(IntPower(0, 7), 1);
    EXPECT_EQ(IntPower(3, 10), 1000);
    EXPECT_EQ(IntPower(3, -2), -8);
    EXPECT_EQ(IntPower(64, 2), 0);  // wraps
    EXPECT_EQ(IntPower(63, 2), INT64_MIN);
    EXPECT_EQ(IntPower(2000000000, 1), 1);  // no long loop
}

TEST(DecimalParse, IntegersWholeTextOnly) {
    int64_t v = 0;
    EXPECT_TRUE(ParseIntText("123", v));
    EXPECT_EQ(v, 123);
    EXPECT_TRUE(ParseIntText("-42", v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(ParseIntText("+7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ParseIntText("9223372036854775807", v));
    EXPECT_EQ(v, INT64_MAX);
    EXPECT_TRUE(ParseIntText("-9223372036854775808", v));
    EXPECT_EQ(v, INT64_MIN);
    v = 99;
    for (const char* bad : {"", "-", "+", "12abc", " 1", "1 ", "1,5", "+-1", "9223372036854775808", "$10"}) {
        EXPECT_FALSE(ParseIntText(bad, v)) << bad;
        EXPECT_EQ(v, 99) << bad;
    }
}

TEST(DecimalParse, FloatsWithComma) {
    long double v = 0;
    EXPECT_TRUE(ParseFloatComma("2,5", v));
    EXPECT_EQ(v, 2.5L);
    EXPECT_TRUE(ParseFloatComma("-1,5E-7", v));
    EXPECT_EQ(double(v), -1.5e-7);
    EXPECT_TRUE(ParseFloatComma("1e20", v));
    EXPECT_EQ(v, 1e20L);
    EXPECT_TRUE(ParseFloatComma(",5", v));
    EXPECT_EQ(v, 0.5L);
    EXPECT_TRUE(ParseFloatComma("5,", v));
    EXPECT_EQ(v, 5.0L);
    EXPECT_TRUE(ParseFloatComma("+3", v));
    EXPECT_EQ(v, 3.0L);
    for (const char* bad : {"", ",", "1e", "1e+", "12abc", "2.5", "1,2,3", "e5", "inf", "nan", "1e99999", " 1"})
        EXPECT_FALSE(ParseFloatComma(bad, v)) << bad;
}

TEST(DecimalParse, FloatDotTakesTheFirstDot) {
    EXPECT_EQ(ParseFloatDot("2.5"), 2.5L);
    EXPECT_EQ(ParseFloatDot("2,5"), 2.5L);
    EXPECT_EQ(ParseFloatDot("1.2.3"), 0.0L);
    EXPECT_EQ(ParseFloatDot("x"), 0.0L);
    EXPECT_EQ(ParseFloatDot("-0.25e2"), -25.0L);
}

TEST(Paths, BackslashesSeparateDirectories) {
    EXPECT_EQ(NativePath("a\\b\\c.dbf"), "a/b/c.dbf");
    EXPECT_EQ(NativePath("/x/y"), "/x/y");
}
