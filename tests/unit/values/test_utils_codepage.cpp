#include "values/codepage.h"

#include <gtest/gtest.h>

namespace {
std::string Byte(int b) { return std::string(1, char(b)); }
}  // namespace

TEST(DosCodePage, RussianLettersMove) {
    for (int b = 192; b <= 239; ++b) EXPECT_EQ(ToDosText(Byte(b)), Byte(b - 64)) << b;
    for (int b = 240; b <= 255; ++b) EXPECT_EQ(ToDosText(Byte(b)), Byte(b - 16)) << b;
    EXPECT_EQ(ToDosText("\xa8\xb8"), "\xf0\xf1");  // Yo, yo
    EXPECT_EQ(FromDosText("\xf0\xf1"), "\xa8\xb8");
}

TEST(DosCodePage, OtherBytesStayAndLettersRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const bool letter = b >= 192 || b == 168 || b == 184;
        if (letter) {
            EXPECT_EQ(FromDosText(ToDosText(Byte(b))), Byte(b)) << b;
        } else {
            EXPECT_EQ(ToDosText(Byte(b)), Byte(b)) << b;
        }
    }
    // 866 pseudo-graphics (176..223) are not letters and pass unchanged.
    EXPECT_EQ(FromDosText("\xb0\xdf"), "\xb0\xdf");
    EXPECT_EQ(ToDosText("Abc \xcf\xf0\xe8\xe2\xe5\xf2"), "Abc \x8f\xe0\xa8\xa2\xa5\xe2");
}

TEST(Utf8CodePage, KnownCharacters) {
    EXPECT_EQ(Cp1251ToUtf8("\xcf\xf0\xe8\xe2\xe5\xf2"), "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
    EXPECT_EQ(Cp1251ToUtf8("\xa8\xb8"), "\xd0\x81\xd1\x91");
    EXPECT_EQ(Cp1251ToUtf8("\x88\xb9"), "\xe2\x82\xac\xe2\x84\x96");  // euro, numero
    EXPECT_EQ(Utf8ToCp1251("\xe2\x82\xac"), "\x88");
    EXPECT_EQ(Utf8ToCp1251("abc"), "abc");
}

TEST(Utf8CodePage, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(Byte(b))), Byte(b)) << b;
}

TEST(Utf8CodePage, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("\xc3\xa9"), "?");            // e acute: no 1251 form
    EXPECT_EQ(Utf8ToCp1251("\xf0\x9f\x98\x80!"), "?!");  // emoji
    EXPECT_EQ(Utf8ToCp1251("a\xffz"), "a?z");
    EXPECT_EQ(Utf8ToCp1251("a\xd0"), "a?");              // cut short
    EXPECT_EQ(Utf8ToCp1251("\xd0z"), "?z");              // missing continuation
    EXPECT_EQ(Utf8ToCp1251("\xc0\xaf"), "??");           // overlong lead, stray continuation
    EXPECT_EQ(Utf8ToCp1251("\xed\xa0\x80"), "?");        // surrogate
}

TEST(Case1251, LatinCyrillicAndPairedLetters) {
    EXPECT_EQ(Upper1251("abcXYZ019"), "ABCXYZ019");
    EXPECT_EQ(Lower1251("ABCxyz"), "abcxyz");
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(UpperChar1251(char(0xE0 + i)), char(0xC0 + i));
        EXPECT_EQ(LowerChar1251(char(0xC0 + i)), char(0xE0 + i));
    }
    const int pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
                            {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
                            {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto& p : pairs) {
        EXPECT_EQ(UpperChar1251(char(p[1])), char(p[0])) << p[1];
        EXPECT_EQ(LowerChar1251(char(p[0])), char(p[1])) << p[0];
        EXPECT_EQ(UpperChar1251(char(p[0])), char(p[0]));
    }
    // Signs and punctuation of the upper half have no case.
    for (int b : {0x82, 0x84, 0x88, 0x98, 0xA0, 0xA9, 0xB9, 0xBB}) {
        EXPECT_EQ(UpperChar1251(char(b)), char(b));
        EXPECT_EQ(LowerChar1251(char(b)), char(b));
    }
    EXPECT_TRUE(SameText1251("\xb8\xe6"
                             "Ab",
                             "\xa8\xc6"
                             "aB"));
    EXPECT_FALSE(SameText1251("abc", "abd"));
    EXPECT_FALSE(SameText1251("abc", "ab"));
}
