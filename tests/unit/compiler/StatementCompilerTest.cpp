#include <gtest/gtest.h>

#include "CompileTestHelpers.h"
#include "compiler/Compiler.h"
#include "values/ScriptError.h"

namespace {

// 866 code-page forms of the end-of-compilation warnings.
const std::string kConditionCut =
    ">> ERROR: \x96\xa8\xaa\xab \xa1\xeb\xab \xae\xa1\xae\xe0\xa2\xa0\xad \xa1\xa5\xa7 "
    "\xae\xaa\xae\xad\xe7\xa0\xad\xa8\xef \xae\xaf\xa8\xe1\xa0\xad\xa8\xef \xe3\xe1\xab\xae\xa2\xa8\xef\n";
const std::string kLoopsUnclosedPrefix =
    ">> ERROR: \x8d\xa5 \xa2\xe1\xa5 \xe6\xa8\xaa\xab\xeb \xa8\xac\xa5\xee\xe2 \xaa\xae\xad\xa5\xe6 "
    "\xae\xaf\xa8\xe1\xa0\xad\xa8\xef (\xaa\xae\xab-\xa2\xae: ";
const std::string kBlocksUnclosed =
    ">> ERROR: \x8d\xa5\xaa\xae\xe2\xae\xe0\xeb\xa5 \xa1\xab\xae\xaa\xa8 \xa1\xeb\xab\xa8 "
    "\xae\xaf\xa8\xe1\xa0\xad\xeb \xa1\xa5\xa7 \xae\xaf\xe0\xa5\xa4\xa5\xab\xa5\xad\xa8\xef "
    "\xa8\xe5 \xaa\xae\xad\xe6\xa0\n";
const std::string kBlocksClosedPrefix =
    ">> \x80\xa2\xe2\xae\xac\xa0\xe2\xa8\xe7\xa5\xe1\xaa\xae\xa5 \xae\xaf\xa8\xe1\xa0\xad\xa8\xa5 "
    "\xaa\xae\xad\xe6\xa0 \xa2\xe1\xa5\xe5 \xa1\xab\xae\xaa\xae\xa2 (\xaa\xae\xab-\xa2\xae "
    "\xa2\xe1\xe2\xa0\xa2\xae\xaa: ";

// Compiles and returns what the compiler wrote to standard output.
std::string ConsoleOfCompiling(const std::string& script, std::string* rendered = nullptr) {
    testing::internal::CaptureStdout();
    CFuncVar func("t", script);
    const std::string out = testing::internal::GetCapturedStdout();
    if (rendered) *rendered = Render(func);
    return out;
}

std::string CompileError(const std::string& script) {
    try {
        CFuncVar func("t", script);
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "(compiled)";
}

class ConsoleFlag : public testing::Test {
protected:
    void TearDown() override { ConsoleAvailable = true; }
};

TEST(StatementCompiler, EmptyTextIsOneHalt) {
    CFuncVar func("t", "");
    EXPECT_EQ(Render(func), "HALT");
    ASSERT_EQ(func.PoolCount(), 1);
    EXPECT_EQ(func.Pool()[0], "\x01");
    EXPECT_EQ(func.LabelCount(), 0);
    ASSERT_NE(func.Locals(), nullptr);
}

TEST(StatementCompiler, BlocksLinkToTheirEnds) {
    EXPECT_EQ(RenderText("begin a; { b; } end"), "{7 V:a ;1 {6 V:b ;2 } } HALT");
    EXPECT_EQ(RenderText("BEGIN End"), "{1 } HALT");
}

TEST(StatementCompiler, ConditionsAndKeywordsInAnyCase) {
    EXPECT_EQ(RenderText("if (a) then b = 1 elsif c THEN b = 2 Else b = 3;"),
              "if ( V:a ) then V:b = L:1 else if V:c then V:b = L:2 else V:b = L:3 ;1 HALT");
    EXPECT_EQ(RenderText("a; HALT; b;"), "V:a ;1 HALT ;2 V:b ;3 HALT");
}

TEST(StatementCompiler, LabelsMarkAnEndAndGotoKeepsCase) {
    CFuncVar func("t", "label Top x = 1; Goto Top;");
    EXPECT_EQ(Render(func), "; V:x = L:1 ;1 G:Top ;2 HALT");
    EXPECT_EQ(func.FindLabel("Top"), 0);
    EXPECT_EQ(func.FindLabel("top"), -1);
    EXPECT_EQ(func.LabelAt(0), "Top");
    EXPECT_EQ(func.LabelAt(1), "");
    EXPECT_EQ(func.LabelAt(-1), "");
    // The first of two equal labels wins.
    CFuncVar twice("t", "label A x; label A y;");
    EXPECT_EQ(twice.FindLabel("A"), 0);
    EXPECT_EQ(twice.LabelAt(3), "A");
    EXPECT_EQ(CompileError("goto ;"),
              "compilings Error\r\n<  \"goto\" must be followed by a label name");
    EXPECT_EQ(CompileError("x; label"),
              "compilings Error\r\n<  \"label\" must be followed by a label name");
}

TEST_F(ConsoleFlag, OpenBlocksAreClosedAndReported) {
    std::string rendered;
    const std::string out = ConsoleOfCompiling("begin begin x;", &rendered);
    EXPECT_EQ(rendered, "{5 {4 V:x ;1 } } HALT");
    EXPECT_EQ(out, kBlocksUnclosed + kBlocksClosedPrefix + "2)\n");

    ConsoleAvailable = false;
    EXPECT_EQ(ConsoleOfCompiling("begin begin x;", &rendered), "");
    EXPECT_EQ(rendered, "{5 {4 V:x ;1 } } HALT");
}

TEST_F(ConsoleFlag, UnclosedLoopIsReportedEvenWithoutConsole) {
    EXPECT_EQ(ConsoleOfCompiling("while (a)"), kConditionCut + kLoopsUnclosedPrefix + "1)\n");
    ConsoleAvailable = false;
    EXPECT_EQ(ConsoleOfCompiling("while (a)"), kLoopsUnclosedPrefix + "1)\n");
}

TEST(StatementCompiler, CleanTextWritesNothing) {
    EXPECT_EQ(ConsoleOfCompiling("while (i < 3) do i += 1; begin end"), "");
}

TEST(StatementCompiler, StrayEndAndTooDeepNestingAreErrors) {
    EXPECT_EQ(CompileError("x; end"), "compilings Error\r\n<  \"end\" without an open block");
    EXPECT_EQ(CompileError("}"), "compilings Error\r\n<  \"end\" without an open block");
    std::string deep;
    for (int i = 0; i < 512; ++i) deep += "{";
    testing::internal::CaptureStdout();
    CFuncVar fits("t", deep);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fits.InstructionCount(), 1025);
    EXPECT_EQ(CompileError(deep + "{"), "compilings Error\r\n<  too many nested blocks (at most 512)");
}

}  // namespace
