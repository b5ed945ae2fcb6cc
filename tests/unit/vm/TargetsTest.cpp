// Assignment targets: variables, members, elements and ranges, and the
// lifetime of values read out of temporaries.
#include "VmFixture.h"

TEST_F(VmTest, MemberTargets) {
    EXPECT_EQ(Out("a.b = 5; Output(a.b); a.b += 2; Output(a.b); a.b + 100; Output(a.b);"), "5\n7\n7\n");
    EXPECT_EQ(Out("a.b = 1; c = a; c.b = 2; Output(a.b, c.b);"), "12\n");
    EXPECT_EQ(Out("a.b = 1; a.b = a.b; Output(a.b);"), "1\n");
}

TEST_F(VmTest, ElementTargets) {
    EXPECT_EQ(Out("a = [1, 2, 3]; a[1] += 2; Output(a[1]); a[0] = a[2]; Output(a[0]);"), "4\n3\n");
    // Only assignments write an element back.
    EXPECT_EQ(Out("a = [1, 2]; a[0] + 5; a[0]; Output(a[0]);"), "1\n");
    EXPECT_EQ(Out("a = [1, [2, 3]]; a[1][0] = 9; a[1, 1] = 8; Output(a[1][0], a[1][1]);"), "98\n");
    EXPECT_EQ(Out("s = \"abc\"; u = s; u[1] = \"z\"; Output(s, u);"), "abczbc\n");
}

TEST_F(VmTest, RangeTargets) {
    EXPECT_EQ(Out("s = \"abcdef\"; s:[1..3] = \"x\"; Output(s);"), "xdef\n");
    EXPECT_EQ(Out("s = \"abcdef\"; s:[1...3] = \"x\"; Output(s);"), "xcdef\n");
    EXPECT_EQ(Out("s = \"abcdef\"; Output(s:[2..3], s:[2...4]);"), "bcbc\n");
    EXPECT_EQ(Out("s = \"abcdef\"; s:[1..2] .= \"!\"; Output(s);"), "ab!cdef\n");
}

TEST_F(VmTest, ArrayConstructors) {
    EXPECT_EQ(Out("x = [1, 2, \"k\" :> 3]; Output(x);"),
              "<2/3:False> 0 => Int:[ 1 ]; 1 => Int:[ 2 ]; k => Int:[ 3 ]; \n");
    // An empty constructor does not swallow the element after it.
    EXPECT_EQ(Out("x = [[], 1]; Output(x.Size, x[1]);"), "21\n");
    EXPECT_EQ(Out("x = []; Output(x.Size);"), "0\n");
}

TEST_F(VmTest, ValuesReadOutOfTemporariesStayAlive) {
    // The constructor's array is a temporary; its element is read from it.
    EXPECT_EQ(Out("Output([10, 20][1]); x = [[1, 2], 3][0][1]; Output(x);"), "20\n2\n");
    EXPECT_EQ(Out("x = [5, 6]:[0..0]; Output(x.Size);"), "1\n");
    // A literal used as a target: the attribute lives inside the temporary.
    EXPECT_EQ(Out("on[1] = \"z\"; Output(\"done\");"), "done\n");
    EXPECT_EQ(Out("x = (\"abc\").Upper; Output(x);"), "ABC\n");
}

TEST_F(VmTest, MethodsOfTemporariesFreeTheirOwners) {
    // A method value keeps its temporary owner alive by clearing the
    // owner's Temp flag; the owner must still go once the statement ends
    // (the leak checker of the sanitizer build sees it otherwise).
    EXPECT_EQ(Out("Array.Push(1); x = Array.Push(1); Output(x.Size);"), "1\n");
    EXPECT_EQ(Out("x = [1, 2].Push(3).Size; Output(x);"), "3\n");
    EXPECT_EQ(Out("Output([5].Push(6)[1]);"), "6\n");
    // A stored method value still reaches its owner in later statements.
    EXPECT_EQ(Out("m = Array.Push; x = m(1); Output(x.Size);"), "1\n");
    EXPECT_EQ(Out("a = [Array.Push]; o.m = Array.Push; Output(a[0](5).Size, o.m(2).Size);"), "11\n");
}

TEST_F(VmTest, ConstantsAndSystemEntriesAreReadAsCopies) {
    EXPECT_EQ(Out("PI = 3; Output(PI > 3);"), "True\n");
    EXPECT_EQ(Out("a = Array; a[0] = 1; b = Array; Output(a.Size, b.Size);"), "10\n");
    EXPECT_EQ(Out("$g = 4; $g += 1; Output($g);"), "5\n");
}
