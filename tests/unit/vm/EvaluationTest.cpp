// Statement evaluation: left to right, no precedence, prefix operators
// only where their left operand is empty.
#include "VmFixture.h"

TEST_F(VmTest, ArithmeticRunsLeftToRight) {
    EXPECT_EQ(Out("x = 2 + 3 * 4; Output(x);"), "20\n");
    EXPECT_EQ(Out("x = 2 + (3 * 4); Output(x);"), "14\n");
}

TEST_F(VmTest, PrefixMinusPositions) {
    EXPECT_EQ(Out("a = 5; b = 3; x = -a; y = b - a; z = (-a) * b; Output(x, \" \", y, \" \", z);"),
              "-5 -2 -15\n");
}
