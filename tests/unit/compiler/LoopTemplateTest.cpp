// Every loop form compiles to the same code as the plain statements it
// stands for; the expansions name the hidden loop variables directly
// (they begin with the byte 15, which the tokenizer reads as a word byte).
#include <gtest/gtest.h>

#include "CompileTestHelpers.h"

namespace {

std::string Quiet(const std::string& script) {
    testing::internal::CaptureStdout();
    std::string listing = ListingOfText(script);
    testing::internal::GetCapturedStdout();
    return listing;
}

// Listings show ";" for every statement end, numbered or not, so a loop and
// its hand-written expansion list identically.
void ExpectExpansion(const std::string& loop, const std::string& expansion) {
    EXPECT_EQ(Quiet(loop), Quiet(expansion)) << "loop: " << loop;
}

TEST(LoopTemplates, WhileDo) {
    ExpectExpansion("while (i < 3) do i += 1; x = 1;",
                    "label \x0fwhile1 if (i < 3) then begin i += 1; goto \x0fwhile1; end; x = 1;");
    EXPECT_EQ(RenderText("while (i < 3) do i += 1;"),
              "; if ( V:i < L:3 ) then {15 V:i += L:1 ;1 G:~while1 ; } ; HALT");
}

TEST(LoopTemplates, UntilRepeat) {
    ExpectExpansion("until (i > 3) repeat i += 1;",
                    "label \x0funtil1 if !((i > 3)) then begin i += 1; goto \x0funtil1; end;");
}

TEST(LoopTemplates, DoWhileClosesAtTopLevelAndInBlocks) {
    const std::string expansion = "label \x0f" "do1 x += 1; if (x < 3); then goto \x0f" "do1;";
    ExpectExpansion("do x += 1; while (x < 3);", expansion);
    ExpectExpansion("begin do x += 1; while (x < 3); end", "begin " + expansion + " end");
    // Closed: nothing reported.
    testing::internal::CaptureStdout();
    CFuncVar func("t", "do x += 1; while (x < 3);");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(LoopTemplates, RepeatUntilClosesAtTopLevel) {
    ExpectExpansion("repeat x += 1; until (x > 3);",
                    "label \x0frepeat1 x += 1; if !((x > 3);) then goto \x0frepeat1;");
}

TEST(LoopTemplates, NestedWhileLoopsCloseAtTheRightStatement) {
    // The first ";" closes only the inner loop; y = 2 is the outer body.
    ExpectExpansion("while (a) do while (b) do x = 1; y = 2; z = 3;",
                    "label \x0fwhile1 if (a) then begin "
                    "label \x0fwhile2 if (b) then begin x = 1; goto \x0fwhile2; end; "
                    "y = 2; goto \x0fwhile1; end; z = 3;");
}

TEST(LoopTemplates, BodyBlockClosesAtItsEnd) {
    ExpectExpansion("while (a) do begin x = 1; y = 2; end z = 3;",
                    "label \x0fwhile1 if (a) then begin begin x = 1; y = 2; end "
                    "goto \x0fwhile1; end; z = 3;");
}

TEST(LoopTemplates, EachKeyValue) {
    const std::string h = "\x0fkeyEach1";
    const std::string tail = h + "I += 1; if " + h + "I < " + h + ".Size then goto " + h + "; " +
                             h + " = 0; v = 0;";
    ExpectExpansion("each (v, k in a.b) s = s + v;",
                    h + "O = a.b; " + h + " = " + h + "O.Keys; " + h + "I = 0; label " + h + " k = " +
                        h + "[" + h + "I]; v = " + h + "O[k]; s = s + v; " + tail);
    // Without a key variable the hidden H+"K" holds the key.
    ExpectExpansion("each (v in a) s = s + v;",
                    h + "O = a; " + h + " = " + h + "O.Keys; " + h + "I = 0; label " + h + " " + h +
                        "K = " + h + "[" + h + "I]; v = " + h + "O[" + h + "K]; s = s + v; " + tail);
}

TEST(LoopTemplates, ForElement) {
    const std::string h = "\x0f" "each1";
    const std::string tail = h + ".>; if !" + h + ".EOF then goto " + h + "; " + h + " = 0;";
    ExpectExpansion("for (v in list) s = s + v;",
                    h + " = list; " + h + ".<<; label " + h + " v = " + h + ".Element; s = s + v; " + tail);
    ExpectExpansion("for (v, k in list) s = s + v;",
                    h + " = list; " + h + ".<<; label " + h + " v = " + h + ".Element; k = " + h +
                        ".Position; s = s + v; " + tail);
}

TEST(LoopTemplates, ForCounting) {
    const std::string h = "\x0f" "for1";
    const std::string head = "if (" + h + " > " + h + "B) && (" + h + "S > 0) then " + h + "S = -" + h +
                             "S; label " + h + " i = " + h + "; ";
    const std::string tail = h + " += " + h + "S; if " + h + "S < 0 then begin if " + h + " >= " + h +
                             "B then goto " + h + "; end else if " + h + " <= " + h + "B then goto " + h + ";";
    ExpectExpansion("for (i = 1, n) s += i;",
                    h + " = 1; " + h + "B = n; " + h + "S = 1; " + head + "s += i; " + tail);
    ExpectExpansion("for (i = 10, f(1, 2), -3) s += i;",
                    h + " = 10; " + h + "B = f(1, 2); " + h + "S = -3; " + head + "s += i; " + tail);
}

TEST(LoopTemplates, ForCursor) {
    const std::string h = "\x0fIfor1";
    ExpectExpansion("for (db.Table(1)) n += 1;",
                    h + " = db.Table(1); " + h + ".<<; label " + h + " n += 1; " + h + ".>; if !" + h +
                        ".EOF then goto " + h + "; " + h + " = 0;");
}

TEST(LoopTemplates, TemplateLoopsInsideBlocksCloseAtTheirBlock) {
    ExpectExpansion("begin for (v in a) begin x = v; y = 1; end end",
                    "begin \x0f" "each1 = a; \x0f" "each1.<<; label \x0f" "each1 "
                    "v = \x0f" "each1.Element; begin x = v; y = 1; end "
                    "\x0f" "each1.>; if !\x0f" "each1.EOF then goto \x0f" "each1; \x0f" "each1 = 0; end");
}

TEST(LoopTemplates, LoopLabelsAreUnique) {
    CFuncVar func("t", "for (v in a) x; for (w in b) y; while (c) do z;");
    ASSERT_EQ(func.LabelCount(), 3);
    EXPECT_EQ(func.Labels()[0].name, "\x0f" "each1");
    EXPECT_EQ(func.Labels()[1].name, "\x0f" "each2");
    EXPECT_EQ(func.Labels()[2].name, "\x0fwhile3");
    for (const LabelRec& label : func.Labels())
        EXPECT_EQ(func.Code()[size_t(label.position)].opcode, opEnd);
}

}  // namespace
