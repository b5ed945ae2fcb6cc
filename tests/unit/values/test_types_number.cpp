// Int, Float and Bool through the cell API: texts, rounding, wrapping and
// failing arithmetic, bits, shifts, byte calls and comparisons.
#include "test_types_fixture.h"

#include <cmath>
#include <limits>

#include "values/ScriptError.h"

namespace {

using N = TypesTest;

std::string FloatStr(double value) { return TextOf(NewFloat(value)); }

TEST_F(N, FloatTexts) {
    EXPECT_EQ(FloatStr(0), "0");
    EXPECT_EQ(FloatStr(0.1), "0,1");
    EXPECT_EQ(FloatStr(2.5), "2,5");
    EXPECT_EQ(FloatStr(-2.5), "-2,5");
    EXPECT_EQ(FloatStr(1e20), "1E20");
    EXPECT_EQ(FloatStr(1.5e-7), "1,5E-7");
    EXPECT_EQ(FloatStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatStr(1234567890123456.0), "1,23456789012346E15");
    EXPECT_EQ(FloatStr(0.00001), "0,00001");
    EXPECT_EQ(FloatStr(0.000001), "1E-6");
    EXPECT_EQ(FloatStr(1.0 / 3), "0,333333333333333");
}

int64_t Round(double value) {
    Var f(NewFloat(value));
    TempRef r(f->Method("Round", nullptr, false));
    return r->GetInt();
}

TEST_F(N, RoundCutsTheTextAtTheComma) {
    EXPECT_EQ(Round(2.5), 3);
    EXPECT_EQ(Round(2.4), 2);
    EXPECT_EQ(Round(-2.7), -1);
    EXPECT_EQ(Round(-2.3), -2);
    EXPECT_EQ(Round(1.5e20), 2);
    EXPECT_EQ(Round(7), 7);
}

TEST_F(N, MixedArithmeticFollowsTheLeftOperand) {
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Add, NewFloat(2.5)), "Int:3");  // 2,5 rounds to even
    EXPECT_EQ(Apply(NewFloat(2.5), &VAR_::Add, NewInt(1)), "Flt:3,5");
    EXPECT_EQ(Apply(NewInt(7), &VAR_::Divide, NewInt(2)), "Int:3");
    EXPECT_EQ(Apply(NewInt(-7), &VAR_::Divide, NewInt(2)), "Int:-3");
    EXPECT_EQ(Apply(NewInt(7), &VAR_::Mod, NewInt(-2)), "Int:1");
    EXPECT_EQ(Apply(NewInt(-7), &VAR_::Mod, NewInt(2)), "Int:-1");
    EXPECT_EQ(Apply(NewFloat(7.4), &VAR_::IntDiv, NewFloat(2)), "Flt:3");
    EXPECT_EQ(Apply(NewFloat(7.6), &VAR_::Mod, NewInt(3)), "Flt:2");
    EXPECT_EQ(Apply(NewInt(5), &VAR_::Add, NewStr("3")), "Int:8");
    EXPECT_EQ(Apply(NewFloat(1), &VAR_::Divide, NewInt(4)), "Flt:0,25");
}

TEST_F(N, IntegerArithmeticWraps) {
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(Apply(NewInt(kMax), &VAR_::Add, NewInt(1)), "Int:" + std::to_string(kMin));
    EXPECT_EQ(Apply(NewInt(kMin), &VAR_::Neg), "Int:" + std::to_string(kMin));
    EXPECT_EQ(Apply(NewInt(kMin), &VAR_::Divide, NewInt(-1)), "Int:" + std::to_string(kMin));
    EXPECT_EQ(Apply(NewInt(kMin), &VAR_::Mod, NewInt(-1)), "Int:0");
    EXPECT_EQ(Apply(NewInt(kMax), &VAR_::Mul, NewInt(2)), "Int:-2");
}

// A failing operation raises; the operand stays usable and nothing leaks.
void ExpectMathFailure(VAR_* left, BinaryOp op, VAR_* right) {
    EXPECT_THROW((left->*op)(right), ScriptError);
    left->Release();
    right->Release();
}

TEST_F(N, DivisionByZeroAndOverflowFail) {
    ExpectMathFailure(NewInt(7), &VAR_::Divide, NewInt(0));
    ExpectMathFailure(NewInt(7), &VAR_::IntDiv, NewInt(0));
    ExpectMathFailure(NewInt(7), &VAR_::Mod, NewFloat(0.4));  // rounds to 0
    ExpectMathFailure(NewFloat(1), &VAR_::Divide, NewInt(0));
    ExpectMathFailure(NewFloat(1), &VAR_::Mod, NewFloat(0.2));
    ExpectMathFailure(NewFloat(1e308), &VAR_::Mul, NewInt(10));
    ExpectMathFailure(NewFloat(1e308), &VAR_::Add, NewFloat(1e308));
}

TEST_F(N, FloatSumsShowFifteenDigits) {
    EXPECT_EQ(Apply(NewFloat(0.1), &VAR_::Add, NewFloat(0.2)), "Flt:0,3");
    EXPECT_EQ(Apply(NewFloat(1.5), &VAR_::Inc), "Flt:2,5");
    EXPECT_EQ(Apply(NewFloat(1.5), &VAR_::Neg), "Flt:-1,5");
}

TEST_F(N, HugeFloatToIntIsTheSmallestInteger) {
    TempRef huge(NewFloat(1e300));
    EXPECT_EQ(huge->GetInt(), std::numeric_limits<int64_t>::min());
    TempRef nan(NewFloat(std::nan("")));
    EXPECT_EQ(nan->GetInt(), std::numeric_limits<int64_t>::min());
    TempRef half(NewFloat(3.5));
    EXPECT_EQ(half->GetInt(), 4);
}

TEST_F(N, ComparisonsAndNaN) {
    EXPECT_TRUE(Compare(NewInt(5), &VAR_::Less, NewFloat(5.5)));
    EXPECT_FALSE(Compare(NewInt(5), &VAR_::Less, NewInt(5)));
    EXPECT_TRUE(Compare(NewInt(-1), &VAR_::Less, NewInt(0)));
    const double nan = std::nan("");
    EXPECT_TRUE(Compare(NewFloat(nan), &VAR_::Equal, NewInt(3)));
    EXPECT_FALSE(Compare(NewFloat(nan), &VAR_::NotEqual, NewInt(3)));
    EXPECT_TRUE(Compare(NewFloat(nan), &VAR_::Greater, NewInt(3)));
    EXPECT_TRUE(Compare(NewFloat(nan), &VAR_::GreaterEqual, NewInt(3)));
    EXPECT_FALSE(Compare(NewFloat(nan), &VAR_::Less, NewInt(3)));
    EXPECT_FALSE(Compare(NewFloat(nan), &VAR_::LessEqual, NewInt(3)));
    EXPECT_TRUE(Compare(NewFloat(1), &VAR_::Less, NewFloat(1.5)));
    EXPECT_TRUE(Compare(NewBool(true), &VAR_::Greater, NewBool(false)));
    TempRef nanCell(NewFloat(nan));
    EXPECT_TRUE(nanCell->IsNull());
    EXPECT_FALSE(nanCell->GetBool());
}

std::string BitsOf(int64_t value) {
    Var n(NewInt(value));
    std::string bits;
    for (n->First(); !n->IsEOF(); n->Next()) bits += TempRef(n->Element())->GetBool() ? '1' : '0';
    return bits;
}

TEST_F(N, BitIterationOverSignificantBytes) {
    EXPECT_EQ(BitsOf(0), "");
    EXPECT_EQ(BitsOf(5), "10100000");
    EXPECT_EQ(BitsOf(256).size(), 16u);
    EXPECT_EQ(BitsOf(-1).size(), 64u);
    Var zero(NewInt(0));
    EXPECT_EQ(zero->Size(), 0);
    EXPECT_EQ(TextOf(zero->Method("High", nullptr, false)), "-1");
    EXPECT_EQ(TextOf(zero->Method("ExCol", nullptr, false)), "");
    Var col(NewInt(28));
    EXPECT_EQ(TextOf(col->Method("ExCol", nullptr, false)), "AB");
}

TEST_F(N, NestedBitLoopsOverTwoIntegersKeepTheirOwnPositions) {
    Var a(NewInt(3));
    Var b(NewInt(1));
    int steps = 0;
    for (a->First(); !a->IsEOF(); a->Next())
        for (b->First(); !b->IsEOF(); b->Next()) ++steps;
    EXPECT_EQ(steps, 64);
    EXPECT_EQ(TextOf(a->GetPosition()), "8");
}

bool BitOf(int64_t value, int64_t bit) {
    Var n(NewInt(value));
    TempRef key(NewInt(bit));
    return TempRef(n->GetIndex(key.get()))->GetBool();
}

TEST_F(N, BitNumbersAreNormalised) {
    EXPECT_TRUE(BitOf(int64_t(1) << 44, 300));  // modulo 256
    EXPECT_FALSE(BitOf(-1, 100));               // beyond bit 63
    EXPECT_TRUE(BitOf(0x80, -1));               // one significant byte: bit 7
    EXPECT_FALSE(BitOf(0x7F, -1));
    EXPECT_TRUE(BitOf(0x100, -8));              // two bytes: bit 8
    EXPECT_FALSE(BitOf(0, -1));                 // the Int 0 has no bits
    Var n(NewInt(0));
    TempRef bit(NewInt(3));
    TempRef on(NewBool(true));
    n->SetIndex(bit.get(), on.get());
    EXPECT_EQ(n->GetInt(), 8);
    TempRef far(NewInt(70));
    n->SetIndex(far.get(), on.get());  // ignored
    EXPECT_EQ(n->GetInt(), 8);
}

int64_t Field(int64_t value, int from, int to, bool exclusive = false) {
    Var n(NewInt(value));
    TempRef a(NewInt(from));
    TempRef b(NewInt(to));
    n->ExclusiveEnd = exclusive;
    return TempRef(n->GetRange(a.get(), b.get()))->GetInt();
}

int64_t WithField(int64_t value, int from, int to, int64_t field) {
    Var n(NewInt(value));
    TempRef a(NewInt(from));
    TempRef b(NewInt(to));
    TempRef v(NewInt(field));
    n->SetRange(a.get(), b.get(), v.get());
    return n->GetInt();
}

TEST_F(N, BitFields) {
    EXPECT_EQ(Field(0xF0, 4, 7), 0xF);
    EXPECT_EQ(Field(0xF0, 4, 7, true), 0x7);
    EXPECT_EQ(Field(0xF0, 7, 4), 0);
    EXPECT_EQ(Field(0xAB, 0, -1), 0xAB);
    EXPECT_EQ(WithField(0, 4, 7, 0xFF), 0xF0);
    EXPECT_EQ(WithField(-1, 0, 3, 0), -16);
    // The count b - a + 1 is taken modulo 256 (0 meaning 256): a reversed
    // range writes from a to the top bit.
    EXPECT_EQ(WithField(0, 60, 59, -1), int64_t(0xF000000000000000ull));
}

TEST_F(N, FloatBitsWorkOnTheIeeePattern) {
    Var f(NewFloat(1.0));
    TempRef top(NewInt(-1));
    EXPECT_FALSE(TempRef(f->GetIndex(top.get()))->GetBool());
    TempRef on(NewBool(true));
    f->SetIndex(top.get(), on.get());  // the sign bit
    EXPECT_EQ(f->GetStr(), "-1");
    TempRef a(NewInt(52));
    TempRef b(NewInt(62));
    TempRef exponent(f->GetRange(a.get(), b.get()));
    EXPECT_EQ(exponent->TypeTag(), std::string("Flt"));
}

TEST_F(N, ShiftCounts) {
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Shl, NewInt(63)), "Int:" + std::to_string(std::numeric_limits<int64_t>::min()));
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Shl, NewInt(64)), "Int:0");
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Shl, NewInt(-1)), "Int:2147483648");  // low byte 255: by 31
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Shl, NewInt(256 + 2)), "Int:4");     // low 8 bits
    EXPECT_EQ(Apply(NewInt(-1), &VAR_::Shr, NewInt(60)), "Int:15");        // logical
    EXPECT_EQ(Apply(NewInt(1), &VAR_::Shl, NewInt(200)), "Int:256");       // signed byte -56: by 8
    EXPECT_EQ(Apply(NewFloat(2.5), &VAR_::Shl, NewInt(1)), "Int:4");       // rounded, becomes Int
}

std::string ByteOf(int64_t value, int64_t n) {
    Var x(NewInt(value));
    Args args{NewInt(n)};
    return TextOf(x->CallArgs(args.get()));
}

TEST_F(N, CallingAnIntExtractsAByte) {
    EXPECT_EQ(ByteOf(5, 0), "5");
    EXPECT_EQ(ByteOf(5, 1), "0");
    EXPECT_EQ(ByteOf(256, 1), "1");
    EXPECT_EQ(ByteOf(5, 3), "0");
    EXPECT_EQ(ByteOf(-1, 7), "255");
    EXPECT_EQ(ByteOf(0x0102, 256 + 1), "1");  // low 8 bits of the argument
}

TEST_F(N, FloatBitOperatorsMakeInts) {
    EXPECT_EQ(Apply(NewFloat(6.4), &VAR_::BitAnd, NewInt(3)), "Int:2");
    EXPECT_EQ(Apply(NewFloat(6), &VAR_::BitOr, NewInt(1)), "Int:7");
    EXPECT_EQ(Apply(NewFloat(6), &VAR_::BitXor, NewInt(2)), "Int:4");
    EXPECT_EQ(Apply(NewFloat(0), &VAR_::BitNot), "Flt:-1");
    EXPECT_EQ(Apply(NewFloat(0), &VAR_::Not), "Bit:True");
    EXPECT_EQ(Apply(NewInt(0), &VAR_::Not), "Bit:True");
    EXPECT_EQ(Apply(NewInt(5), &VAR_::BitNot), "Int:-6");
    EXPECT_EQ(Apply(NewInt(5), &VAR_::And, NewInt(0)), "Bit:False");
}

TEST_F(N, BoolOperators) {
    EXPECT_EQ(Apply(NewBool(false), &VAR_::Add, NewBool(true)), "Bit:True");
    EXPECT_EQ(Apply(NewBool(true), &VAR_::Sub, NewBool(true)), "Bit:False");
    EXPECT_EQ(Apply(NewBool(true), &VAR_::Mul, NewInt(0)), "Bit:False");
    EXPECT_EQ(Apply(NewBool(false), &VAR_::Divide, NewBool(true)), "Bit:False");
    EXPECT_EQ(Apply(NewBool(false), &VAR_::Divide, NewBool(false)), "Bit:True");
    EXPECT_EQ(Apply(NewBool(true), &VAR_::IntDiv, NewBool(false)), "Bit:False");
    EXPECT_EQ(Apply(NewBool(false), &VAR_::Mod, NewBool(true)), "Bit:True");
    EXPECT_EQ(Apply(NewBool(true), &VAR_::Mod, NewBool(false)), "Bit:False");
    EXPECT_EQ(Apply(NewBool(true), &VAR_::Inc), "Bit:False");
    EXPECT_EQ(Apply(NewBool(false), &VAR_::Neg), "Bit:True");
}

std::string Retyped(VAR_* cell, Type_* type) {
    Var v(cell);
    v->Retype(type);
    return Tagged(v.get());
}

TEST_F(N, RetypingKeepsTheValue) {
    EXPECT_EQ(Retyped(NewBool(true), Types.Int), "Int:1");
    EXPECT_EQ(Retyped(NewInt(2), Types.Bool), "Bit:True");
    EXPECT_EQ(Retyped(NewStr("yes"), Types.Bool), "Bit:True");
    EXPECT_EQ(Retyped(NewStr("Off"), Types.Bool), "Bit:False");
    EXPECT_EQ(Retyped(NewStr(""), Types.Bool), "Bit:False");
    EXPECT_EQ(Retyped(NewStr("x"), Types.Int), "Int:0");
    EXPECT_EQ(Retyped(NewStr("$10"), Types.Int), "Int:16");
    EXPECT_EQ(Retyped(NewFloat(2.5), Types.Int), "Int:2");
    EXPECT_EQ(Retyped(NewInt(3), Types.Float), "Flt:3");
    EXPECT_EQ(Retyped(NewInt(7), Types.Array), "Obj:<-1/0:False> ");
    Var n(NewInt(7));
    n->SetBool(true);
    EXPECT_EQ(n->GetInt(), 7);
    n->SetBool(false);
    EXPECT_EQ(n->GetInt(), 0);
    Var f(NewFloat(0));
    f->SetStr("1.5");
    EXPECT_EQ(f->GetStr(), "1,5");
}

}  // namespace
