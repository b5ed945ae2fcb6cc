// Escape expansion of texts and the string call with format specifications.
#include "test_types_fixture.h"

#include "values/StringType.h"

namespace {

using Format = TypesTest;

std::string Call(const std::string& text, Args& args) {
    Var s(NewStr(text));
    const std::string result = TextOf(s->CallArgs(args.get()));
    EXPECT_EQ(s->GetStr(), text);  // the receiver is not changed
    return result;
}

TEST_F(Format, EscapesGiveTheirBytes) {
    EXPECT_EQ(UnescapeText("a\\nb\\rc\\td"), "a\rb\nc\td");  // n and r deliberately swapped
    EXPECT_EQ(UnescapeText("\\N\\R\\T"), "\r\n\t");
    EXPECT_EQ(UnescapeText("\\65\\x41\\X4a"), "AAJ");
    EXPECT_EQ(UnescapeText("\\0651"), "A1");            // at most three digits
    EXPECT_EQ(UnescapeText("\\321"), "A");              // low 8 bits of 321
    EXPECT_EQ(UnescapeText("\\xg"), std::string("\0g", 2));
    EXPECT_EQ(UnescapeText("a\\\\b\\\"c\\"), "a\\b\"c");  // trailing backslash dropped
    EXPECT_EQ(UnescapeText("a#b#"), "ab");
}

TEST_F(Format, OuterQuotesGoOnlyInPairs) {
    EXPECT_EQ(UnescapeText("\"abc\""), "abc");
    EXPECT_EQ(UnescapeText("'abc'"), "abc");
    EXPECT_EQ(UnescapeText("\"\""), "");
    EXPECT_EQ(UnescapeText("''"), "");
    EXPECT_EQ(UnescapeText("\""), "\"");  // a lone quote stays
    EXPECT_EQ(UnescapeText("'abc\""), "'abc\"");
    EXPECT_EQ(UnescapeText(""), "");
}

std::string EchoHook(const std::string& code) { return "<" + code + ">"; }

TEST_F(Format, EmbeddedCodeGoesThroughTheHook) {
    EXPECT_EQ(UnescapeText("a#{1+2}b"), "ab");  // no hook installed: dropped
    EmbeddedCodeHook = EchoHook;
    EXPECT_EQ(UnescapeText("a#{1+2}b"), "a<1+2>b");
    EXPECT_EQ(UnescapeText("a#{open"), "a<open>");
    EmbeddedCodeHook = nullptr;
}

TEST_F(Format, SpecificationsVanishOutsideACall) {
    EXPECT_EQ(UnescapeText("Total: %5.2f!"), "Total: !");
    EXPECT_EQ(UnescapeText("100%"), "100");
    Var s(NewStr("a%sb\\x41"));
    s->Unescape();
    EXPECT_EQ(s->GetStr(), "abA");
}

TEST_F(Format, NumberedSpecificationsWidthsAndPrecision) {
    Args args{NewFloat(3.14159), NewStr("x")};
    EXPECT_EQ(Call("%2:s-%1:5.2f", args), "x- 3.14");
    EXPECT_EQ(Call("%s|%s|%s", args), "3,14159|x|Null");  // a missing argument is Null
    EXPECT_EQ(Call("[%10s]", args), "[   3,14159]");
    EXPECT_EQ(Call("[%2:-4s]", args), "[x   ]");
    EXPECT_EQ(Call("[%.3f]", args), "[3.142]");
    EXPECT_EQ(Call("%2:s%s", args), "xNull");       // numbering goes on from 2
    EXPECT_EQ(Call("%x:s", args), "Null");          // an invalid number leaves it at 0
    EXPECT_EQ(Call("Total: %s", args), "Total: 3,14159");
}

TEST_F(Format, KindsIntegerBooleanAndPlain) {
    Args args{NewInt(0), NewStr("yes"), NewInt(42)};
    EXPECT_EQ(Call("%b %b %i", args), "False True 42");
    EXPECT_EQ(Call("%3:3", args), " 42");  // no kind letter: the rest is the body
    EXPECT_EQ(Call("%3:f", args), "42");   // precision 0: no decimal point
}

TEST_F(Format, CallResultIsAStringCopy) {
    Args none{};
    Var s(NewStr("a\\tb"));
    TempRef result(s->CallArgs(none.get()));
    EXPECT_EQ(Tagged(result.get()), "Str:a\tb");
    EXPECT_TRUE(result->Temp);
}

}  // namespace
