// Blocks, if/elsif/else, the expanded loops, goto and halt.
#include "VmFixture.h"

TEST_F(VmTest, IfElseChainsRunExactlyOneBranch) {
    const std::string blocks =
        "if (x == 1) then begin Output(\"one\"); end elsif (x == 2) then begin Output(\"two\"); end "
        "else begin Output(\"other\"); end Output(\"end\");";
    EXPECT_EQ(Out("x = 1; " + blocks), "one\nend\n");
    EXPECT_EQ(Out("x = 2; " + blocks), "two\nend\n");
    EXPECT_EQ(Out("x = 3; " + blocks), "other\nend\n");
    const std::string statements =
        "if (x == 1) then Output(\"one\") elsif (x == 2) then Output(\"two\") else Output(\"other\"); Output(\"end\");";
    EXPECT_EQ(Out("x = 1; " + statements), "one\nend\n");
    EXPECT_EQ(Out("x = 2; " + statements), "two\nend\n");
    EXPECT_EQ(Out("x = 3; " + statements), "other\nend\n");
    EXPECT_EQ(Out("if (0) then Output(\"no\"); Output(\"after\");"), "after\n");
}

TEST_F(VmTest, PreCheckedLoopsTestFirst) {
    EXPECT_EQ(Out("i = 0; while (i < 3) do i += 1; Output(i);"), "3\n");
    EXPECT_EQ(Out("i = 5; while (i < 3) do i += 1; Output(i);"), "5\n");
    EXPECT_EQ(Out("i = 0; until (i >= 3) repeat i += 1; Output(i);"), "3\n");
    EXPECT_EQ(Out("i = 0; j = 0; while (i < 2) do begin i += 1; k = 0; while (k < 2) do k += 1; j += k; end Output(j);"),
              "4\n");
}

TEST_F(VmTest, PostCheckedLoopsRunAtLeastOnce) {
    EXPECT_EQ(Out("begin i = 0; do i += 1; while (i < 3); end Output(i);"), "3\n");
    EXPECT_EQ(Out("begin i = 7; repeat i += 1; until (i >= 3); end Output(i);"), "8\n");
}

TEST_F(VmTest, CountingLoops) {
    EXPECT_EQ(Out("for (i = 1, 3) Output(i);"), "1\n2\n3\n");
    EXPECT_EQ(Out("for (i = 10, 8) Output(i);"), "10\n9\n8\n");
    EXPECT_EQ(Out("for (i = 1, 5, 2) Output(i);"), "1\n3\n5\n");
    EXPECT_EQ(Out("for (i = 1, 2) begin for (j = 1, 2) Output(i, j); end"), "11\n12\n21\n22\n");
}

TEST_F(VmTest, ElementAndKeyLoops) {
    EXPECT_EQ(Out("a = [10, 20]; for (v, k in a) Output(k, \"=\", v);"), "0=10\n1=20\n");
    EXPECT_EQ(Out("a = [\"x\" :> 1, \"y\" :> 2]; each (v, k in a) Output(k, \":\", v);"), "x:1\ny:2\n");
    // Over an empty collection the body runs once, with empty values.
    EXPECT_EQ(Out("a = Array; for (v in a) Output(\"once \", v);"), "once Null\n");
    EXPECT_EQ(Out("a = [1, 2]; for (v in a) begin each (w in [7, 8]) Output(v, w); end"), "17\n18\n27\n28\n");
}

TEST_F(VmTest, GotoAndHalt) {
    EXPECT_EQ(Out("goto fin; Output(\"skipped\"); label fin; Output(\"after\");"), "after\n");
    EXPECT_EQ(Out("i = 0; label top; i += 1; if (i < 3) then goto top; Output(i);"), "3\n");
    EXPECT_EQ(Out("Output(1); halt; Output(2);"), "1\n");
    EXPECT_EQ(ResultOf("x = 4; halt; x = 5;"), "4");
}

TEST_F(VmTest, SkipsStopAtTheEndOfTheCode) {
    // No ";" or ")" to skip to: the skip stops at the final instruction.
    EXPECT_EQ(Out("Output(\"a\"); x = 0 && 1"), "a\n");
    EXPECT_EQ(Out("Output(\"a\"); x = (0) ? 1"), "a\n");
    EXPECT_EQ(Out("Output(\"a\"); if (0) then x = 1"), "a\n");
}
