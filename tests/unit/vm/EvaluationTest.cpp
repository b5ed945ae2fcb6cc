// Statement evaluation: left to right, no precedence, prefix operators
// only where their left operand is empty, short-circuits and "?" / ":".
#include "VmFixture.h"

TEST_F(VmTest, ArithmeticRunsLeftToRight) {
    EXPECT_EQ(Out("x = 2 + 3 * 4; Output(x);"), "20\n");
    EXPECT_EQ(Out("x = 2 + (3 * 4); Output(x);"), "14\n");
    EXPECT_EQ(Out("x = 10; x += 5; x -= 1; Output(x);"), "14\n");
}

TEST_F(VmTest, PrefixMinusWorksOnlyWithAnEmptyLeftOperand) {
    EXPECT_EQ(Out("a = 5; b = 3; x = -a; y = b - a; z = (-a) * b; Output(x, \" \", y, \" \", z);"),
              "-5 -2 -15\n");
    // "*" meets no right operand (Null), then "-" becomes the pending operator.
    EXPECT_EQ(Out("a = 4; b = 3; x = a * -b; Output(x);"), "-3\n");
}

TEST_F(VmTest, ShortCircuitKeepsTheDecidingValue) {
    EXPECT_EQ(Out("a = 0 && Output(\"evaluated\"); Output(a);"), "0\n");
    EXPECT_EQ(Out("a = 1 || Output(\"evaluated\"); Output(a);"), "1\n");
    EXPECT_EQ(Out("a = 1 && 0; Output(a);"), "False\n");
    // A skip inside an argument list stops at the comma, not at the ")".
    EXPECT_EQ(Out("Output(0 && 1, \"|\", 1 || 0, \"|\", 2);"), "0|1|2\n");
}

TEST_F(VmTest, ConditionalEvaluatesOneBranch) {
    EXPECT_EQ(Out("a = 5; b = 2; x = (a > b) ? Output(\"yes\") : Output(\"no\"); Output(x);"), "yes\nyes\n");
    EXPECT_EQ(Out("a = 1; b = 2; x = (a > b) ? \"big\" : \"small\"; Output(x);"), "small\n");
    // Unparenthesised, "?" tests b and a is compared with the chosen value.
    EXPECT_EQ(Out("a = 1; b = 2; x = a > b ? 1 : 2; Output(x);"), "False\n");
    EXPECT_EQ(Out("Output((0) ? 1 : 2, \"-\", (1) ? 3 : 4, \"-\", 5);"), "2-3-5\n");
}

TEST_F(VmTest, StringLiteralsExpandOnceAndBeforeIndexing) {
    EXPECT_EQ(Out("Output(\"abc\"[1]);"), "a\n");
    EXPECT_EQ(Out("Output(\"Total: %s\"(5));"), "Total: 5\n");
    // A value that was expanded is not expanded again when it is reused.
    EXPECT_EQ(Out("x = \"a\\\\tb\"; y = x; z = x .+ \"\"; Output(y.Size, z.Size);"), "44\n");
    EXPECT_EQ(Out("x = \"k\" :> 1;"), "");
}

TEST_F(VmTest, CallsPassOmittedAndEmptyArguments) {
    EXPECT_EQ(Out("Output(, 2); Output(); Output(1, \"a\", 2.5);"), "Null2\n\n1a2,5\n");
    EXPECT_EQ(Out("h = Output; h(\"via a copy\");"), "via a copy\n");
    EXPECT_EQ(Out("Output((1, 2)); Output(());"), "1\nNull\n");
}

TEST_F(VmTest, ComparisonsAndIdentity) {
    EXPECT_EQ(Out("Output(1 === 1, 1 === \"1\", 1 !== \"1\", 1 == \"1\", 2 < 3, !(2 < 3));"),
              "TrueFalseTrueTrueTrueFalse\n");
}

TEST_F(VmTest, ResultIsTheLastAssignmentOrTheFirstBareStatement) {
    EXPECT_EQ(ResultOf("x = 1; y = 2; x + 5;"), "2");
    EXPECT_EQ(ResultOf("7; x = 1 + 1; x;"), "2");
    EXPECT_EQ(ResultOf("7; Output(1);"), "7");
    EXPECT_EQ(ResultOf("a.b = 5;"), "Null");  // a member write is no variable assignment
}
