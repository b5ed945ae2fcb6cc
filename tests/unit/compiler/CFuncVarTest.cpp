#include <gtest/gtest.h>

#include "CompileTestHelpers.h"
#include "values/ScriptError.h"

namespace {

TEST(CFuncVar, PoolInterningIsExactAndStartsWithTheNoOperandEntry) {
    CFuncVar func("t");
    func.ResetImage();
    EXPECT_EQ(func.PoolCount(), 1);
    EXPECT_EQ(func.AddToPool("\x01"), 0);
    EXPECT_EQ(func.AddToPool("x"), 1);
    EXPECT_EQ(func.AddToPool("X"), 2);
    EXPECT_EQ(func.AddToPool("x"), 1);
    EXPECT_EQ(func.AddToPool(""), 3);
    EXPECT_EQ(func.PoolCount(), 4);
}

TEST(CFuncVar, PoolRefusesMoreThanSixteenBitsOfOperands) {
    CFuncVar func("t");
    func.ResetImage();
    for (int i = 1; i < 65536; ++i) func.AddToPool(std::to_string(i));
    EXPECT_EQ(func.PoolCount(), 65536);
    EXPECT_EQ(func.AddToPool("1"), 1);
    EXPECT_THROW(func.AddToPool("one more"), ScriptError);
}

TEST(CFuncVar, CompileErrorsAreWrapped) {
    try {
        CFuncVar func("t", "x = \"open");
        FAIL() << "compiled";
    } catch (const ScriptError& error) {
        EXPECT_EQ(std::string(error.what()), "compilings Error\r\n<  string not closed: \"open");
    }
}

TEST(CFuncVar, AppendCodeReinternsAndDropsTheFinalHalt) {
    CFuncVar target("t", "a = 1;");
    CFuncVar other("", "{ b } 1");
    const int32_t before = target.InstructionCount();  // ends with HALT
    target.AppendCode(other);
    EXPECT_EQ(Render(target), "V:a = L:1 ;1 HALT {2 V:b } L:1");
    EXPECT_EQ(target.InstructionCount(), before + 4);
    // "1" was already in the pool and is shared; the begin link is unchanged.
    EXPECT_EQ(target.Code()[2].operand, target.Code()[size_t(target.InstructionCount() - 1)].operand);
}

TEST(CFuncVar, ErrorContextShowsTheStatementAroundAnInstruction) {
    CFuncVar func("t", "x = 1; y = a + b; z;");
    // y = a + b: the failing "+" at index 7.
    EXPECT_EQ(func.ErrorContext(7), "\";\"~>1: \r\n      y=a#=>+<=#b");
    EXPECT_EQ(func.ErrorContext(0), "\";\"~>0: \r\n      #=>x<=#=1");
    // A context after a compiler-added statement end shows its "\x01".
    CFuncVar loop("t", "label L x;");
    EXPECT_EQ(loop.ErrorContext(1), "\";\"~>\x01: \r\n      #=>x<=#");
    // Out-of-range indexes give a context, not a crash.
    EXPECT_NO_THROW(func.ErrorContext(-3));
    EXPECT_NO_THROW(func.ErrorContext(1000));
    EXPECT_NO_THROW(func.ErrorContext(INT32_MIN));
}

}  // namespace
