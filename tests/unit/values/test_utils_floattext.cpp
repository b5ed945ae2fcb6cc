#include "values/floattext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FloatText, FixedNotation) {
    EXPECT_EQ(FloatText(0.0L), "0");
    EXPECT_EQ(FloatText(-0.0L), "0");
    EXPECT_EQ(FloatText(0.1), "0,1");  // the double nearest to 0.1
    EXPECT_EQ(FloatText(2.5L), "2,5");
    EXPECT_EQ(FloatText(-2.5L), "-2,5");
    EXPECT_EQ(FloatText(100.0L), "100");
    EXPECT_EQ(FloatText(123456789012345.0L), "123456789012345");
    EXPECT_EQ(FloatText(0.00001), "0,00001");
    EXPECT_EQ(FloatText(1.0 / 3.0), "0,333333333333333");
    EXPECT_EQ(FloatText(2.0 / 3.0), "0,666666666666667");
    EXPECT_EQ(FloatText(0.1 + 0.2), "0,3");  // rounding to 15 digits hides the error
    EXPECT_EQ(FloatText(-1234.5678), "-1234,5678");
}

TEST(FloatText, ScientificNotation) {
    EXPECT_EQ(FloatText(1e20), "1E20");
    EXPECT_EQ(FloatText(1.5e-7), "1,5E-7");
    EXPECT_EQ(FloatText(0.000001), "1E-6");
    EXPECT_EQ(FloatText(1234567890123456.0L), "1,23456789012346E15");
    EXPECT_EQ(FloatText(-2.5e100), "-2,5E100");
    EXPECT_EQ(FloatText(std::numeric_limits<double>::min()), "2,2250738585072E-308");
    // Rounding may raise the exponent into scientific form.
    EXPECT_EQ(FloatText(999999999999999.9L), "1E15");
}

TEST(FloatText, NotANumberAndInfinities) {
    EXPECT_EQ(FloatText(NAN), "NAN");
    EXPECT_EQ(FloatText(INFINITY), "INF");
    EXPECT_EQ(FloatText(-INFINITY), "-INF");
}
