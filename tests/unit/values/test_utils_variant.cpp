#include "values/Variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "values/oledate.h"

namespace {
class Dummy : public AutoObject {
public:
    Variant Invoke(const std::string&, InvokeKind, std::span<Variant>) override { return {}; }
};
}  // namespace

TEST(VariantText, EachKind) {
    EXPECT_EQ(Variant().ToText(), "");
    EXPECT_EQ(Variant::MakeNull().ToText(), "");
    EXPECT_EQ(Variant::FromStr("abc").ToText(), "abc");
    EXPECT_EQ(Variant::FromInt(-5).ToText(), "-5");
    EXPECT_EQ(Variant::FromInt(-5, VarKind::I2).ToText(), "-5");
    EXPECT_EQ(Variant::FromUInt(UINT64_MAX).ToText(), "18446744073709551615");
    EXPECT_EQ(Variant::FromUInt(200, VarKind::UI1).ToText(), "200");
    EXPECT_EQ(Variant::FromBool(true).ToText(), "True");
    EXPECT_EQ(Variant::FromBool(false).ToText(), "False");
    EXPECT_EQ(Variant::FromDouble(2.5).ToText(), "2,5");
    EXPECT_EQ(Variant::FromDouble(0.5, VarKind::R4).ToText(), "0,5");
    EXPECT_EQ(Variant::FromDouble(1e20).ToText(), "1E20");
    EXPECT_EQ(Variant::FromCurrency(12345).ToText(), "1,2345");
    EXPECT_EQ(Variant::FromCurrency(-250000).ToText(), "-25");
    EXPECT_EQ(Variant::FromDate(36526.5).ToText(), "01.01.2000 12:00:00");
    EXPECT_EQ(Variant::FromDate(36526).ToText(), "01.01.2000");
    EXPECT_EQ(Variant::FromDate(0.75).ToText(), "18:00:00");
    EXPECT_EQ(Variant::Missing().ToText(), "");
    EXPECT_EQ(Variant::FromObject(std::make_shared<Dummy>()).ToText(), "");
}

TEST(VariantKinds, FactoriesNormaliseToTheKind) {
    EXPECT_EQ(Variant::FromInt(300, VarKind::I1).IntValue(), 44);
    EXPECT_EQ(Variant::FromInt(70000, VarKind::I2).IntValue(), 70000 - 65536);
    EXPECT_EQ(Variant::FromUInt(256 + 7, VarKind::UI1).UIntValue(), 7u);
    EXPECT_EQ(Variant::FromInt(-1, VarKind::UI4).UIntValue(), 0xFFFFFFFFu);
    EXPECT_EQ(Variant::FromInt(5, VarKind::String).Kind(), VarKind::I8);
    EXPECT_EQ(Variant::FromDouble(0.1, VarKind::R4).DoubleValue(), double(0.1f));
    EXPECT_EQ(Variant::FromDouble(2.0, VarKind::Date).Kind(), VarKind::Date);
    EXPECT_TRUE(Variant::Missing().IsMissing());
    EXPECT_FALSE(Variant::FromError(5).IsMissing());
    EXPECT_TRUE(Variant::FromInt(1, VarKind::UI2).IsIntegerKind());
    EXPECT_TRUE(Variant::FromCurrency(1).IsFloatKind());
    EXPECT_TRUE(Variant::FromBool(true).IsNumericKind());
    EXPECT_FALSE(Variant::FromDate(1).IsNumericKind());
    EXPECT_FALSE(Variant::FromStr("1").IsNumericKind());
}

TEST(VariantNumbers, ToIntRoundsHalfToEven) {
    EXPECT_EQ(Variant::FromDouble(2.5).ToInt(), 2);
    EXPECT_EQ(Variant::FromDouble(3.5).ToInt(), 4);
    EXPECT_EQ(Variant::FromDouble(-2.5).ToInt(), -2);
    EXPECT_EQ(Variant::FromDouble(2.6, VarKind::R4).ToInt(), 3);
    EXPECT_EQ(Variant::FromDouble(1e300).ToInt(), INT64_MIN);
    EXPECT_EQ(Variant::FromCurrency(25000).ToInt(), 2);
    EXPECT_EQ(Variant::FromCurrency(35000).ToInt(), 4);
    EXPECT_EQ(Variant::FromCurrency(-25001).ToInt(), -3);
    EXPECT_EQ(Variant::FromCurrency(-15000).ToInt(), -2);
    EXPECT_EQ(Variant::FromBool(true).ToInt(), 1);
    EXPECT_EQ(Variant::FromDate(36526.75).ToInt(), 36527);
    EXPECT_EQ(Variant::FromStr("42").ToInt(), 42);
    EXPECT_EQ(Variant::FromStr("2,5").ToInt(), 2);
    EXPECT_EQ(Variant::FromStr("7.5").ToInt(), 8);
    EXPECT_EQ(Variant::FromStr("12abc").ToInt(), 0);
    EXPECT_EQ(Variant::MakeNull().ToInt(), 0);
    EXPECT_EQ(Variant::FromObject(std::make_shared<Dummy>()).ToInt(), 0);
}

TEST(VariantNumbers, ToDoubleAndToBool) {
    EXPECT_EQ(Variant::FromCurrency(12345).ToDouble(), 1.2345);
    EXPECT_EQ(Variant::FromUInt(UINT64_MAX).ToDouble(), 18446744073709551615.0);
    EXPECT_EQ(Variant::FromDate(1.5).ToDouble(), 1.5);
    EXPECT_EQ(Variant::FromStr("-1,5E2").ToDouble(), -150.0);
    EXPECT_EQ(Variant::FromStr("x").ToDouble(), 0.0);
    EXPECT_EQ(Variant::FromBool(true).ToDouble(), 1.0);
    EXPECT_TRUE(Variant::FromInt(-1).ToBool());
    EXPECT_FALSE(Variant::FromInt(0).ToBool());
    EXPECT_TRUE(Variant::FromDouble(0.1).ToBool());
    EXPECT_FALSE(Variant::FromDouble(NAN).ToBool());
    EXPECT_TRUE(Variant::FromStr("0").ToBool());
    EXPECT_FALSE(Variant::FromStr("").ToBool());
    EXPECT_FALSE(Variant::MakeNull().ToBool());
}

TEST(VariantEquality, KindAndValue) {
    EXPECT_EQ(Variant(), Variant());
    EXPECT_FALSE(Variant() == Variant::MakeNull());
    EXPECT_EQ(Variant::FromInt(5), Variant::FromInt(5));
    EXPECT_FALSE(Variant::FromInt(5) == Variant::FromInt(5, VarKind::I4));
    EXPECT_FALSE(Variant::FromInt(5) == Variant::FromInt(6));
    EXPECT_EQ(Variant::FromStr("a"), Variant::FromStr("a"));
    EXPECT_FALSE(Variant::FromStr("a") == Variant::FromStr("A"));
    EXPECT_FALSE(Variant::FromDouble(1) == Variant::FromDate(1));
    const AutoRef object = std::make_shared<Dummy>();
    EXPECT_EQ(Variant::FromObject(object), Variant::FromObject(object));
    EXPECT_FALSE(Variant::FromObject(object) == Variant::FromObject(std::make_shared<Dummy>()));
    EXPECT_EQ(Variant::Missing(), Variant::Missing());
    EXPECT_FALSE(Variant::Missing() == Variant::FromError(0));
}
