#include <gtest/gtest.h>

#include "CompileTestHelpers.h"

namespace {

TEST(ExpressionCompiler, WorkedExample) {
    // f is the boolean literal false, never a variable.
    EXPECT_EQ(RenderText("x = -a.b + f(1, 2.5);"),
              "V:x = - V:a M:b + L:f ( L:1 , L:2.5 ) ;1 HALT");
    EXPECT_EQ(RenderText("x = -a.b + g(1, 2.5);"),
              "V:x = - V:a M:b + V:g ( L:1 , L:2.5 ) ;1 HALT");
}

TEST(ExpressionCompiler, NumbersAreReassembled) {
    EXPECT_EQ(RenderText("1.5"), "L:1.5 HALT");
    EXPECT_EQ(RenderText("1.5e-3"), "L:1.5e-3 HALT");
    EXPECT_EQ(RenderText("1e-5"), "L:1e - L:5 HALT");  // "1e" is already a float
    EXPECT_EQ(RenderText("5.x"), "L:5 M:x HALT");
    EXPECT_EQ(RenderText("1+2"), "L:1 + L:2 HALT");
    EXPECT_EQ(RenderText("1.5.3"), "L:1.5 M:3 HALT");
}

TEST(ExpressionCompiler, BooleanWordsAreLiterals) {
    EXPECT_EQ(RenderText("t f On OFF yes No TRUE false"),
              "L:t L:f L:On L:OFF L:yes L:No L:TRUE L:false HALT");
    EXPECT_EQ(RenderText("s = 'a' + \"b\""), "V:s = S:'a' + S:\"b\" HALT");
}

TEST(ExpressionCompiler, StatementEndsAndTheirNumbers) {
    EXPECT_EQ(RenderText("a;;b;"), "V:a ;2 V:b ;3 HALT");
    EXPECT_EQ(RenderText("a;;;"), "V:a ;3 HALT");
    EXPECT_EQ(RenderText("a; -b;"), "V:a ;1 - V:b ;2 HALT");
    // A statement end never joins the operator after it.
    EXPECT_EQ(RenderText("a;!b;~c;"), "V:a ;1 ! V:b ;2 ~ V:c ;3 HALT");
}

TEST(ExpressionCompiler, OperatorAssembly) {
    EXPECT_EQ(RenderText("a+=1"), "V:a += L:1 HALT");
    EXPECT_EQ(RenderText("a<<=b>>=c.=d"), "V:a <<= V:b >>= V:c .= V:d HALT");
    EXPECT_EQ(RenderText("a===b!==c"), "V:a === V:b !== V:c HALT");
    EXPECT_EQ(RenderText("a=-b"), "V:a = - V:b HALT");
    EXPECT_EQ(RenderText("a=(-b)"), "V:a = ( - V:b ) HALT");
    EXPECT_EQ(RenderText("a.+b /: c"), "V:a .+ V:b /: V:c HALT");
    EXPECT_EQ(RenderText("c ? a : b"), "V:c ? V:a : V:b HALT");
    EXPECT_EQ(RenderText("c.<<; c.>; c.<; c.>>;"),
              "V:c .<< ;1 V:c .> ;2 V:c .< ;3 V:c .>> ;4 HALT");
}

TEST(ExpressionCompiler, UnknownOperatorTextsAreDropped) {
    EXPECT_EQ(RenderText("a ** b"), "V:a V:b HALT");
    EXPECT_EQ(RenderText("a++;"), "V:a ;1 HALT");
    // "=" then ">" are two operators.
    EXPECT_EQ(RenderText("a => b"), "V:a = > V:b HALT");
    // A "." that no name follows is dropped with nothing consumed.
    EXPECT_EQ(RenderText("a.;b"), "V:a ;1 V:b HALT");
    EXPECT_EQ(RenderText("g(a.)"), "V:g ( V:a ) HALT");
}

TEST(ExpressionCompiler, IndexesRangesAndConstructors) {
    EXPECT_EQ(RenderText("a[1]"), "V:a [ L:1 ) HALT");
    EXPECT_EQ(RenderText("b:[1..3]"), "V:b :[ L:1 .. L:3 ) HALT");
    EXPECT_EQ(RenderText("b:[1...3]"), "V:b :[ L:1 ... L:3 ) HALT");
    EXPECT_EQ(RenderText("x = [1, \"k\" :> 3]"), "V:x = [ L:1 , S:\"k\" :> L:3 ) HALT");
    EXPECT_EQ(RenderText("a.b[2](x)"), "V:a M:b [ L:2 ) ( V:x ) HALT");
}

TEST(ExpressionCompiler, MemberNamesMayBeKeywords) {
    EXPECT_EQ(RenderText("a.end = b.for"), "V:a M:end = V:b M:for HALT");
}

TEST(ExpressionCompiler, EqualNamesShareOnePoolEntry) {
    CFuncVar func("t", "x = x + X;");
    EXPECT_EQ(func.Code()[0].operand, func.Code()[2].operand);
    EXPECT_NE(func.Code()[0].operand, func.Code()[4].operand);
    // "\x01", "x", "X", "1"
    EXPECT_EQ(func.PoolCount(), 4);
}

}  // namespace
