#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

#include <cstring>

#include "odbc/odbcFields.h"
#include "odbc/odbcText.h"

namespace {

const OdbcTextCodec kUtf8(false);

TEST(TypeMapping, TextSizesAreCappedWithoutWrapping) {
    EXPECT_EQ(FieldKind::String, MapSqlType(SQL_VARCHAR, 10).kind);
    EXPECT_EQ(11, MapSqlType(SQL_VARCHAR, 10).size);
    EXPECT_EQ(8191, MapSqlType(SQL_VARCHAR, 10000).size);
    // A 16-bit size would wrap 65535 + 1 to 0 and read every value empty.
    EXPECT_EQ(8191, MapSqlType(SQL_VARCHAR, 65535).size);
    EXPECT_EQ(8191, MapSqlType(SQL_CHAR, uint64_t(1) << 40).size);
    // Size 0 means the driver does not know.
    EXPECT_EQ(8191, MapSqlType(SQL_VARCHAR, 0).size);
    EXPECT_EQ(FieldKind::FixedChar, MapSqlType(SQL_CHAR, 5).kind);
    EXPECT_EQ(65535, MapSqlType(SQL_WVARCHAR, 100000).size);
    EXPECT_EQ(65535, MapSqlType(SQL_VARBINARY, 1u << 31).size);
}

TEST(TypeMapping, EveryReportedTypeGetsItsKind) {
    struct Case { int16_t sqlType; FieldKind kind; };
    const Case cases[] = {
        {SQL_NUMERIC, FieldKind::Float},   {SQL_DECIMAL, FieldKind::Float},
        {SQL_FLOAT, FieldKind::Float},     {SQL_REAL, FieldKind::Float},
        {SQL_DOUBLE, FieldKind::Float},    {SQL_INTEGER, FieldKind::Integer},
        {SQL_SMALLINT, FieldKind::SmallInt}, {SQL_TINYINT, FieldKind::SmallInt},
        {SQL_TYPE_DATE, FieldKind::Date},  {SQL_TYPE_TIME, FieldKind::Time},
        {SQL_TYPE_TIMESTAMP, FieldKind::DateTime}, {SQL_LONGVARCHAR, FieldKind::Memo},
        {SQL_BINARY, FieldKind::Bytes},    {SQL_VARBINARY, FieldKind::VarBytes},
        {SQL_LONGVARBINARY, FieldKind::Blob}, {SQL_BIGINT, FieldKind::LargeInt},
        {SQL_BIT, FieldKind::Boolean},     {SQL_WCHAR, FieldKind::WideString},
        {SQL_WVARCHAR, FieldKind::WideString}, {SQL_WLONGVARCHAR, FieldKind::WideMemo},
        {SQL_GUID, FieldKind::Guid},       {SQL_INTERVAL_DAY, FieldKind::Unknown},
    };
    for (const Case& c : cases) EXPECT_EQ(c.kind, MapSqlType(c.sqlType, 20).kind) << c.sqlType;
    EXPECT_STREQ("WideMemo", FieldKindName(FieldKind::WideMemo));
    EXPECT_STREQ("FixedChar", FieldKindName(FieldKind::FixedChar));
}

TEST(TypeMapping, BufferLengthsHoldUtf8AndUtf16Values) {
    EXPECT_EQ(11 * 4 + 1, BufferLengthFor(FieldKind::String, 11));
    EXPECT_EQ((11 * 2 + 1) * 2, BufferLengthFor(FieldKind::WideString, 11));
    EXPECT_EQ(4, BufferLengthFor(FieldKind::SmallInt, 0));
    EXPECT_EQ(2, BufferLengthFor(FieldKind::Boolean, 0));
    EXPECT_EQ(8, BufferLengthFor(FieldKind::DateTime, 0));
    EXPECT_EQ(16, BufferLengthFor(FieldKind::Memo, 0));
    EXPECT_EQ(10, BufferLengthFor(FieldKind::Unknown, 300));
    TField_ field(FieldKind::String, SQL_VARCHAR, "name", 1, 11);
    EXPECT_EQ(size_t(field.bufferLength), field.buffer.size());
}

template <typename T>
TField_ FieldHolding(FieldKind kind, T value) {
    TField_ field(kind, 0, "f", 1, 0);
    std::memcpy(field.buffer.data(), &value, sizeof value);
    return field;
}

TEST(CellValues, NumbersBooleansAndDatesFromTheirBuffers) {
    Variant small = FieldValue(FieldHolding(FieldKind::SmallInt, int16_t(-5)), kUtf8);
    EXPECT_EQ(VarKind::I2, small.Kind());
    EXPECT_EQ(-5, small.IntValue());
    EXPECT_EQ(-70000, FieldValue(FieldHolding(FieldKind::Integer, int32_t(-70000)), kUtf8).IntValue());
    EXPECT_EQ(int64_t(1) << 40, FieldValue(FieldHolding(FieldKind::LargeInt, int64_t(1) << 40), kUtf8).IntValue());
    EXPECT_DOUBLE_EQ(2.5, FieldValue(FieldHolding(FieldKind::Float, 2.5), kUtf8).DoubleValue());
    Variant flag = FieldValue(FieldHolding(FieldKind::Boolean, uint8_t(1)), kUtf8);
    EXPECT_EQ(VarKind::Bool, flag.Kind());
    EXPECT_TRUE(flag.BoolValue());
    Variant date = FieldValue(FieldHolding(FieldKind::DateTime, 38412.5), kUtf8);
    EXPECT_EQ(VarKind::Date, date.Kind());
    EXPECT_DOUBLE_EQ(38412.5, date.DateValue());
}

TEST(CellValues, NullAndUnconvertibleDatesReadAsTheEmptyString) {
    TField_ bit = FieldHolding(FieldKind::Boolean, uint8_t(0));
    bit.null = true;
    Variant nullBit = FieldValue(bit, kUtf8);
    EXPECT_EQ(VarKind::String, nullBit.Kind());
    EXPECT_EQ("", nullBit.StrValue());
    TField_ date = FieldHolding(FieldKind::Date, 38412.0);
    date.badDate = true;
    EXPECT_EQ(VarKind::String, FieldValue(date, kUtf8).Kind());
    EXPECT_EQ("", FieldValue(date, kUtf8).StrValue());
}

TEST(CellValues, TextIsTrimmedAndConvertedTo1251) {
    TField_ narrow(FieldKind::String, SQL_VARCHAR, "s", 1, 20);
    const char utf8[] = "  \xd0\x9f\xd1\x80\xd0\xb8 x\t";  // "  При x\t"
    std::memcpy(narrow.buffer.data(), utf8, sizeof utf8);
    EXPECT_EQ("\xcf\xf0\xe8 x", FieldValue(narrow, kUtf8).StrValue());
    EXPECT_EQ("\xd0\x9f\xd1\x80\xd0\xb8 x", FieldValue(narrow, OdbcTextCodec(true)).StrValue());

    TField_ wide(FieldKind::WideString, SQL_WVARCHAR, "w", 1, 10);
    const char16_t units[] = u" \u0416\u20ac\U0001F600 ";  // Ж, euro, an emoji, blanks
    std::memcpy(wide.buffer.data(), units, sizeof units);
    EXPECT_EQ("\xc6\x88?", FieldValue(wide, kUtf8).StrValue());
}

TEST(CellValues, LongDataKeepsTextWholeAndBytesRaw) {
    TField_ memo(FieldKind::Memo, SQL_LONGVARCHAR, "m", 1, 0);
    memo.longData = "  \xd0\xaf  ";
    EXPECT_EQ("  \xdf  ", FieldValue(memo, kUtf8).StrValue());
    TField_ blob(FieldKind::Blob, SQL_LONGVARBINARY, "b", 1, 0);
    blob.longData = std::string("\0\xd0\xaf\0", 4);
    EXPECT_EQ(std::string("\0\xd0\xaf\0", 4), FieldValue(blob, kUtf8).StrValue());
    TField_ wideMemo(FieldKind::WideMemo, SQL_WLONGVARCHAR, "w", 1, 0);
    const char16_t units[] = u"\u042f!";
    wideMemo.longData.assign(reinterpret_cast<const char*>(units), 4);
    EXPECT_EQ("\xdf!", FieldValue(wideMemo, kUtf8).StrValue());
}

TEST(CellValues, Utf16WithBrokenSurrogatesStillConverts) {
    EXPECT_EQ("\xef\xbf\xbd" "a", Utf16ToUtf8(std::u16string(u"\xD800" u"a")));
    EXPECT_EQ("\xf0\x9f\x98\x80", Utf16ToUtf8(u"\U0001F600"));
}

}  // namespace
