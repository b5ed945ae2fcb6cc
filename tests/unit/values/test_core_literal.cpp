#include <gtest/gtest.h>

#include "values/literal.h"

namespace {

TEST(LiteralClassification, ExamplesOfTheLanguage) {
    EXPECT_EQ(ClassifyLiteral("12", false), LiteralClass::Int);
    EXPECT_EQ(ClassifyLiteral("-7", false), LiteralClass::Int);
    EXPECT_EQ(ClassifyLiteral("1.5", false), LiteralClass::Float);
    EXPECT_EQ(ClassifyLiteral("1e3", false), LiteralClass::Float);
    EXPECT_EQ(ClassifyLiteral("TRUE", false), LiteralClass::Bool);
    EXPECT_EQ(ClassifyLiteral("'abc'", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("1-2", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("e5", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("+", false), LiteralClass::Int);
    EXPECT_EQ(ClassifyLiteral("Yes", true), LiteralClass::Bool);
    EXPECT_EQ(ClassifyLiteral("off", true), LiteralClass::Bool);
    EXPECT_EQ(ClassifyLiteral("Yes", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("off", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("", false), LiteralClass::Null);
}

TEST(LiteralClassification, NumberScanCorners) {
    EXPECT_EQ(ClassifyLiteral("1e-5", false), LiteralClass::Float);
    EXPECT_EQ(ClassifyLiteral("1.2.3", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral(".5", false), LiteralClass::Float);
    EXPECT_EQ(ClassifyLiteral("5.", false), LiteralClass::Float);
    EXPECT_EQ(ClassifyLiteral("1ee", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("12a", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("f", false), LiteralClass::String);
    EXPECT_EQ(ClassifyLiteral("f", true), LiteralClass::Bool);
    EXPECT_TRUE(LiteralTruth("ON"));
    EXPECT_FALSE(LiteralTruth("f"));
}

}  // namespace
