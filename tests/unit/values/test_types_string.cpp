// The String type through the cell API: indexing, ranges, both operator
// columns, counting, case, comparisons, members and iteration.
#include "test_types_fixture.h"

#include "values/StringType.h"

namespace {

using S = TypesTest;

VAR_* Str(const std::string& text) { return NewStr(text); }

std::string Index(const std::string& text, VAR_* key) {
    Var s(Str(text));
    VAR_* result = s->GetIndex(key);
    key->Release();
    const std::string tagged = Tagged(result);
    result->Release();
    return tagged;
}

std::string AfterSetIndex(const std::string& text, VAR_* key, VAR_* value) {
    Var s(Str(text));
    s->SetIndex(key, value);
    key->Release();
    value->Release();
    return s->GetStr();
}

std::string Range(const std::string& text, VAR_* from, VAR_* to, bool exclusive = false) {
    Var s(Str(text));
    s->ExclusiveEnd = exclusive;
    const std::string result = TextOf(s->GetRange(from, to));
    from->Release();
    to->Release();
    EXPECT_FALSE(s->ExclusiveEnd);
    return result;
}

std::string AfterSetRange(const std::string& text, VAR_* from, VAR_* to, VAR_* value, bool exclusive = false) {
    Var s(Str(text));
    s->ExclusiveEnd = exclusive;
    s->SetRange(from, to, value);
    from->Release();
    to->Release();
    value->Release();
    return s->GetStr();
}

TEST_F(S, IndexByPositionAndBySubstring) {
    EXPECT_EQ(Index("hello", NewInt(0)), "Int:5");
    EXPECT_EQ(Index("hello", NewInt(-1)), "Str:o");
    EXPECT_EQ(Index("hello", NewInt(-5)), "Str:h");
    EXPECT_EQ(Index("hello", NewInt(-6)), "Int:5");  // wraps to 0
    EXPECT_EQ(Index("hello", Str("ll")), "Int:3");
    EXPECT_EQ(Index("hello", Str("zz")), "Int:0");
    EXPECT_EQ(Index("", NewInt(-3)), "Int:0");
    Var s(Str("hello"));
    TempRef key(NewInt(6));
    TempRef past(s->GetIndex(key.get()));
    EXPECT_EQ(past->GetStr(), kNullMarker);
    EXPECT_TRUE(past->IsNull());
}

TEST_F(S, SetIndexOverwritesInsertsAppendsAndSetsLength) {
    EXPECT_EQ(AfterSetIndex("abc", NewInt(2), Str("X")), "aXc");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(2), Str("XY")), "aXYbc");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(2), Str("")), "abc");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(0), Str("XY")), "XYabc");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(9), Str("XY")), "abcXY");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(-1), NewInt(65 + 256)), "abA");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(4), NewInt(66)), "abcB");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(0), NewInt(1)), "a");
    EXPECT_EQ(AfterSetIndex("abc", NewInt(0), NewInt(5)), std::string("abc\0\0", 5));
    EXPECT_EQ(AfterSetIndex("abc", NewInt(0), NewInt(-4)), "");
    EXPECT_EQ(AfterSetIndex("a-b-c", Str("-"), Str("+=")), "a+=b+=c");
    EXPECT_EQ(AfterSetIndex("aAa", Str("a"), Str("b")), "bAb");
}

TEST_F(S, RangesWithPositionsTextsAndExclusiveEnd) {
    EXPECT_EQ(Range("abcdef", NewInt(2), NewInt(4)), "bcd");
    EXPECT_EQ(Range("abcdef", NewInt(0), NewInt(4)), "");
    EXPECT_EQ(Range("abcdef", NewInt(-3), NewInt(-1)), "def");
    EXPECT_EQ(Range("abcdef", NewInt(4), NewInt(2)), "");
    EXPECT_EQ(Range("abcdef", NewInt(2), NewInt(7)), "");
    // A text end bound ends where its last occurrence starts.
    EXPECT_EQ(Range("a.b.c", NewInt(1), Str(".")), "a.b.");
    EXPECT_EQ(Range("a.b.c", NewInt(1), Str("."), true), "a.b");
    EXPECT_EQ(Range("a.b.c", Str("b"), NewInt(-1)), "b.c");
    EXPECT_EQ(Range("abcdef", NewInt(2), NewInt(4), true), "bc");
}

TEST_F(S, SetRangeReplacesTheSlice) {
    EXPECT_EQ(AfterSetRange("abcdef", NewInt(2), NewInt(4), Str("XY")), "aXYef");
    EXPECT_EQ(AfterSetRange("abcdef", NewInt(2), NewInt(4), Str("XY"), true), "aXYdef");
    EXPECT_EQ(AfterSetRange("key=value", Str("="), NewInt(-1), Str(":")), "key:");
    // At most 65535 bytes of the rest are kept.
    EXPECT_EQ(AfterSetRange("a" + std::string(70000, 'z'), NewInt(1), NewInt(1), Str("")).size(), 65535u);
}

TEST_F(S, OperatorsWithAnIntOperand) {
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Add, NewInt(-12)), "Str:ab-12");
    EXPECT_EQ(Apply(Str("abc"), &VAR_::Sub, NewInt(2)), "Str:ac");
    EXPECT_EQ(Apply(Str("abc"), &VAR_::Sub, NewInt(-1)), "Str:ab");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Mul, NewInt(3)), "Str:ababab");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Mul, NewInt(0)), "Str:");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Mul, NewInt(65536 + 2)), "Str:abab");  // 16-bit count
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::Divide, NewInt(1)), "Str:bcd");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::Divide, NewInt(-1)), "Str:abcd");  // a negative count is 0
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::Divide, NewInt(9)), "Str:");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::IntDiv, NewInt(1)), "Str:abc");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::Mod, NewInt(3)), "Str:abc");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::Mod, NewInt(-2)), "Str:");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::BitAnd, NewInt(2)), "Str:cd");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Shl, NewInt(2)), "Str:  ab");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Shr, NewInt(2)), "Str:ab  ");
    EXPECT_EQ(Apply(Str("abc"), &VAR_::BitOr, NewInt(3)), "Bit:True");
    EXPECT_EQ(Apply(Str("abc"), &VAR_::BitXor, NewInt(3)), "Bit:False");
}

TEST_F(S, RepeatByMinusOneGives65535Copies) {
    Var s(Str("xy"));
    TempRef n(NewInt(-1));
    s->Mul(n.get());
    EXPECT_EQ(s->Size(), 2 * 65535);
}

TEST_F(S, OperatorsWithATextOperand) {
    EXPECT_EQ(Apply(Str("abab"), &VAR_::Sub, Str("b")), "Str:aab");
    EXPECT_EQ(Apply(Str("aBab"), &VAR_::Divide, Str("b")), "Str:aa");
    // Case is ignored for Cyrillic letters too (\xc0 is upper A, \xe0 lower a).
    EXPECT_EQ(Apply(Str("x\xc0y\xe0"), &VAR_::Divide, Str("\xe0")), "Str:xy");
    EXPECT_EQ(Apply(Str("aBab"), &VAR_::IntDiv, Str("b")), "Str:aBa");
    EXPECT_EQ(Apply(Str("aBab"), &VAR_::Mod, Str("b")), "Str:aab");
    EXPECT_EQ(Apply(Str("hello"), &VAR_::Mul, Str("l")), "Int:3");
    EXPECT_EQ(Apply(Str("hello"), &VAR_::Shl, Str("z")), "Int:0");
    EXPECT_EQ(Apply(Str("hello"), &VAR_::Shr, Str("l")), "Int:4");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::BitAnd, Str("xyzw")), "Str:abzw");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::BitAnd, Str("xy")), "Str:abcd");
    EXPECT_EQ(Apply(Str("ab"), &VAR_::BitOr, Str("xyz")), "Str:xyz");
    EXPECT_EQ(Apply(Str("abcd"), &VAR_::BitXor, Str("xy")), "Str:xy");
    EXPECT_EQ(Apply(Str("a"), &VAR_::Add, NewFloat(2.5)), "Str:a2,5");
}

TEST_F(S, IncAndDecCountInBase256) {
    EXPECT_EQ(Apply(Str("ab"), &VAR_::Inc), "Str:ac");
    EXPECT_EQ(Apply(Str("a\xff"), &VAR_::Inc), std::string("Str:b\0", 6));
    EXPECT_EQ(Apply(Str("\xff"), &VAR_::Inc), std::string("Str:\x01\0", 6));
    EXPECT_EQ(Apply(Str(std::string("\x01\0", 2)), &VAR_::Dec), "Str:" + std::string("\0\xff", 2));
    EXPECT_EQ(Apply(Str(std::string("\0", 1)), &VAR_::Dec), "Str:");
    EXPECT_EQ(Apply(Str(""), &VAR_::Inc), "Str:");
    EXPECT_EQ(Apply(Str(""), &VAR_::Dec), "Str:");
}

TEST_F(S, ReverseAndCaseSwap) {
    EXPECT_EQ(Apply(Str("abc"), &VAR_::Neg), "Str:cba");
    // The swap covers 192-255 only: Yo (168) stays.
    EXPECT_EQ(Apply(Str("aB\xc0\xff\xa8"), &VAR_::Not), "Str:Ab\xe0\xdf\xa8");
    EXPECT_EQ(Apply(Str("aB1"), &VAR_::BitNot), "Str:1bA");
}

TEST_F(S, ComparisonsLengthAgainstNumbersBytesAgainstTexts) {
    EXPECT_TRUE(Compare(Str("abc"), &VAR_::Greater, NewInt(2)));
    EXPECT_TRUE(Compare(Str("abc"), &VAR_::Less, NewInt(4)));
    EXPECT_TRUE(Compare(Str("abc"), &VAR_::GreaterEqual, NewFloat(3.0)));
    EXPECT_FALSE(Compare(Str("abc"), &VAR_::Equal, NewInt(3)));
    EXPECT_TRUE(Compare(Str("3"), &VAR_::Equal, NewInt(3)));
    EXPECT_TRUE(Compare(Str("\xe0"), &VAR_::Greater, Str("z")));  // unsigned bytes
    EXPECT_TRUE(Compare(Str("ab"), &VAR_::Less, Str("abc")));
    EXPECT_TRUE(Compare(Str("b"), &VAR_::Greater, Str("abc")));
    EXPECT_TRUE(Compare(Str("x"), &VAR_::NotEqual, Str("y")));
}

TEST_F(S, Conversions) {
    auto intOf = [](const std::string& text) { TempRef s(NewStr(text)); return s->GetInt(); };
    auto floatOf = [](const std::string& text) { TempRef s(NewStr(text)); return double(s->GetFloat()); };
    EXPECT_EQ(intOf("  -12"), -12);
    EXPECT_EQ(intOf("$ff"), 255);
    EXPECT_EQ(intOf("2147483647"), 2147483647);
    EXPECT_EQ(intOf("2147483648"), 0);  // does not fit in 32 bits
    EXPECT_EQ(intOf("12x"), 0);
    EXPECT_DOUBLE_EQ(floatOf("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(floatOf("2.5"), 0);  // the decimal comma only
    Var blank(Str(" \t "));
    EXPECT_TRUE(blank->IsEmpty());
    EXPECT_FALSE(blank->IsNull());
    EXPECT_TRUE(blank->GetBool());
    Var s(Str("x"));
    s->SetFloat(0.1);
    EXPECT_EQ(s->GetStr(), "0,1");
    s->SetBool(true);
    EXPECT_EQ(s->GetStr(), "0,1");
    s->SetBool(false);
    EXPECT_EQ(s->GetStr(), "");
    Var seven(NewInt(7));
    seven->Retype(Types.String);
    EXPECT_EQ(Tagged(seven.get()), "Str:7");
}

TEST_F(S, NestedLoopsOverTwoTextsKeepTheirOwnPositions) {
    Var outer(Str("ab"));
    Var inner(Str("xyz"));
    std::string visited;
    for (outer->First(); !outer->IsEOF(); outer->Next()) {
        visited += TextOf(outer->Element());
        for (inner->First(); !inner->IsEOF(); inner->Next()) visited += TextOf(inner->Element());
    }
    EXPECT_EQ(visited, "axyzbxyz");
    EXPECT_EQ(TextOf(outer->GetPosition()), "3");
    EXPECT_EQ(TextOf(outer->Element()), kNullMarker);
    outer->Last();
    EXPECT_EQ(TextOf(outer->Element()), "b");
}

std::string Member(const std::string& text, const std::string& name) {
    Var s(NewStr(text));
    return Tagged(TempRef(s->Method(name, nullptr, false)).get());
}

TEST_F(S, TextMembers) {
    EXPECT_EQ(Member("ab\xe0\xb8", "Upper"), "Str:AB\xc0\xa8");  // Yo included
    EXPECT_EQ(Member("AB\xc0\xa8", "Lower"), "Str:ab\xe0\xb8");
    EXPECT_EQ(Member("  a b \t", "Trim"), "Str:a b");
    EXPECT_EQ(Member("12", "Value"), "Int:12");
    EXPECT_EQ(Member("1.5", "Value"), "Flt:1,5");
    EXPECT_EQ(Member("TRUE", "Value"), "Bit:True");
    EXPECT_EQ(Member("'abc'", "Value"), "Str:abc");
    EXPECT_EQ(Member("abc", "Low"), "Int:1");
    EXPECT_EQ(Member("abc", "High"), "Int:3");
    EXPECT_EQ(Member("ab", "ExCol"), "Int:28");
    EXPECT_EQ(Member("abc", "Size"), "Int:3");
    EXPECT_EQ(Member("abc", "Nope"), "Nil:Null");
    Var s(NewStr("x"));
    EXPECT_TRUE(s->HasMethod("ExtractFileDir"));
    EXPECT_TRUE(s->HasMethod("to_i"));
    EXPECT_FALSE(s->HasMethod("upper"));
}

TEST_F(S, FileNameMembersTakeBothSeparators) {
    EXPECT_EQ(Member("C:\\dir\\file.txt", "ExtractFileExt"), "Str:.txt");
    EXPECT_EQ(Member("dir.d/file", "ExtractFileExt"), "Str:");
    EXPECT_EQ(Member("C:\\dir\\file.txt", "ExtractFilePath"), "Str:C:\\dir\\");
    EXPECT_EQ(Member("/home/u/file.txt", "ExtractFilePath"), "Str:/home/u/");
    EXPECT_EQ(Member("C:\\dir\\file.txt", "ExtractFileName"), "Str:file.txt");
    EXPECT_EQ(Member("C:file.txt", "ExtractFileName"), "Str:file.txt");
    EXPECT_EQ(Member("/home/u/file.txt", "ExtractFileDir"), "Str:/home/u");
    EXPECT_EQ(Member("C:\\file.txt", "ExtractFileDir"), "Str:C:\\");
    EXPECT_EQ(Member("/file.txt", "ExtractFileDir"), "Str:/");
    EXPECT_EQ(Member("C:\\dir\\file.txt", "ExtractFileDrive"), "Str:C:");
    EXPECT_EQ(Member("\\\\server\\share\\dir\\f", "ExtractFileDrive"), "Str:\\\\server\\share");
    EXPECT_EQ(Member("//server/share", "ExtractFileDrive"), "Str://server/share");
    EXPECT_EQ(Member("/home/u/file.txt", "ExtractFileDrive"), "Str:");
}

TEST_F(S, ExistsFindsFilesAndDirectories) {
    EXPECT_EQ(Member("/tmp", "Exists"), "Bit:True");
    EXPECT_EQ(Member("\\tmp", "Exists"), "Bit:True");
    EXPECT_EQ(Member("/no/such/file/here", "Exists"), "Bit:False");
    EXPECT_EQ(Member("", "Exists"), "Bit:False");
}

TEST_F(S, SplitIsAMethodValue) {
    Var s(NewStr("a,,b"));
    TempRef split(s->Method("Split", nullptr, false));
    EXPECT_EQ(split->GetStr(), "System.<Split>");
    Args comma{NewStr(",")};
    EXPECT_EQ(TextOf(split->CallArgs(comma.get())), "<2/3:False> 0 => Str:[ a ]; 1 => Str:[  ]; 2 => Str:[ b ]; ");
    Args none{};
    EXPECT_EQ(TextOf(split->CallArgs(none.get())), "<0/1:False> 0 => Str:[ a,,b ]; ");
}

}  // namespace
