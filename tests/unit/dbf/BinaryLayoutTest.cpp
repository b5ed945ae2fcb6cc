// The binary record layout: widths by type, binary numbers and dates,
// chained memo blocks; and the float formats it stores.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "DbfTestSupport.h"
#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_Floats.h"

namespace {

TDBF_Fields BinaryFields() {
    TDBF_Fields f;
    f.Add("NAME", 'C', 6, 0, true);
    f.Add("SHORT", 'I', 4, 0, true);   // 2 bytes
    f.Add("WIDE", 'I', 20, 0, true);   // 8 bytes
    f.Add("F4", 'F', 5, 2, true);
    f.Add("F6", 'F', 10, 2, true);
    f.Add("F8", 'F', 14, 2, true);
    f.Add("F10", 'F', 18, 2, true);
    f.Add("AMOUNT", 'N', 10, 2, true); // float, 6 bytes
    f.Add("DAY", 'D', 0, 0, true);
    f.Add("TIME", 'T', 0, 0, true);
    f.Add("STAMP", 'd', 0, 0, true);
    f.Add("OK", 'L', 0, 0, true);
    f.Add("CODE", 'P', 5, 0, true);
    f.Add("NOTE", 'M', 0, 0, true);
    return f;
}

}  // namespace

TEST(DbfFloats, SixByteRealAndExtendedFloats) {
    uint8_t b[10];
    StoreReal48(b, 1.0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 6), std::string("\x81\0\0\0\0\0", 6));
    StoreReal48(b, -2.0);
    EXPECT_EQ(b[0], 130);
    EXPECT_EQ(b[5], 0x80);
    for (double v : {0.0, 1.0, -1.5, 123.456, 1e-30, 3.14159265358979, -98765.4321}) {
        StoreReal48(b, v);
        EXPECT_NEAR(LoadReal48(b), v, std::fabs(v) * 1e-11) << v;
        StoreExtended80(b, v);
        EXPECT_EQ(LoadExtended80(b), v) << v;
    }
    StoreExtended80(b, 1.0);
    EXPECT_EQ(LoadLE(b, 8), 0x8000000000000000ull);
    EXPECT_EQ(LoadU16(b + 8), 0x3FFF);
#if LDBL_MANT_DIG == 64
    // Where long double is the 80-bit format, the software encoding must
    // give the very same bytes.
    for (double v : {1.0, -1.5, 123.456, 1e-310, -1e300}) {
        const long double native = v;
        StoreExtended80(b, v);
        EXPECT_EQ(std::memcmp(b, &native, 10), 0) << v;
    }
#endif
    StoreReal48(b, 1e300);  // beyond the format: the largest value, not garbage
    EXPECT_GT(LoadReal48(b), 1e38);
    StoreReal48(b, 1e-300);
    EXPECT_EQ(LoadReal48(b), 0.0);
}

TEST_F(DbfTest, BinaryWidthsFollowTheTypes) {
    const TDBF_Fields f = BinaryFields();
    const int sizes[] = {6, 2, 8, 4, 6, 8, 10, 6, 4, 4, 8, 1, 6, 4};
    for (size_t i = 0; i < f.Count(); ++i) EXPECT_EQ(f[i].Size, sizes[i]) << f[i].Name;
    EXPECT_EQ(f[1].Offset, 7);
    TDBF_Data t;
    Make(t, Base("b"), f, true);
    EXPECT_TRUE(t.IsBinary());
    EXPECT_EQ(Bytes(Base("b") + ".dbf")[0], '\xff');
    EXPECT_EQ(t.RecordLength(), 1u + 6 + 2 + 8 + 4 + 6 + 8 + 10 + 6 + 4 + 4 + 8 + 1 + 6 + 4);
}

TEST_F(DbfTest, BinaryValuesRoundTrip) {
    TDBF_Data t;
    Make(t, Base("b"), BinaryFields(), true);
    t.Append(true);
    EXPECT_EQ(Stored(t, "NAME"), "      ");  // blank binary texts are spaces
    t.SetField(S("NAME"), S("ab"));
    EXPECT_EQ(Stored(t, "NAME"), std::string("ab\0\0\0\0", 6));
    t.SetField(S("NAME"), S("abcdefgh"));
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "abcdef");

    t.SetField(S("SHORT"), I(-1));
    EXPECT_EQ(t.GetField(S("SHORT")).IntValue(), 65535);  // unsigned when read
    t.SetField(S("WIDE"), S("-5000000000"));
    EXPECT_EQ(t.GetField(S("WIDE")).IntValue(), -5000000000LL);
    t.SetField(S("SHORT"), F(12.7));
    EXPECT_EQ(t.GetField(S("SHORT")).IntValue(), 13);

    for (const char* name : {"F4", "F6", "F8", "F10", "AMOUNT"}) {
        t.SetField(S(name), S("12.5"));
        EXPECT_DOUBLE_EQ(t.GetField(S(name)).DoubleValue(), 12.5) << name;
        t.SetField(S(name), S("-0,25"));
        EXPECT_DOUBLE_EQ(t.GetField(S(name)).DoubleValue(), -0.25) << name;
    }
    t.SetField(S("F8"), F(0.1));
    EXPECT_EQ(t.GetField(S("F8")).DoubleValue(), 0.1);

    t.SetField(S("DAY"), Variant::FromDate(Date(2024, 1, 5)));
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(Stored(t, "DAY").data())), 738890u);
    EXPECT_DOUBLE_EQ(t.GetField(S("DAY")).DateValue(), Date(2024, 1, 5));
    t.SetField(S("DAY"), S("0001-01-01"));
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(Stored(t, "DAY").data())), 1u);
    t.SetField(S("TIME"), S("13:45:30"));
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(Stored(t, "TIME").data())), 49530000u);
    t.SetField(S("STAMP"), S("05.01.2024 6:00"));
    EXPECT_DOUBLE_EQ(t.GetField(S("STAMP")).DateValue(), Date(2024, 1, 5) + 0.25);

    t.SetField(S("OK"), Variant::FromBool(true));
    EXPECT_TRUE(t.GetField(S("OK")).BoolValue());
    t.SetField(S("OK"), S("no"));
    EXPECT_FALSE(t.GetField(S("OK")).BoolValue());

    t.SetField(S("CODE"), S(" xyz "));
    EXPECT_EQ(Stored(t, "CODE"), std::string("\x03") + char('x' ^ 3) + char('y' ^ 3) + char('z' ^ 3) + std::string(2, '\0'));
    EXPECT_EQ(t.GetField(S("CODE")).StrValue(), "xyz");
}

TEST_F(DbfTest, BinaryDateZeroIsAConversionError) {
    TDBF_Data t;
    Make(t, Base("b"), BinaryFields(), true);
    t.Append(true);
    EXPECT_THROW(t.GetField(S("DAY")), TDBFError);
}

TEST_F(DbfTest, BinaryMemosAreChainedBlocks) {
    TDBF_Data t;
    Make(t, Base("b"), BinaryFields(), true);
    t.Append(true);
    const std::string exact(508, 'e');  // no room for the end mark
    const std::string longer(1200, 'l');
    t.SetField(S("NOTE"), S(longer));
    t.WriteCurrent(false, false);
    t.Append(true);
    t.SetField(S("NOTE"), S(exact));
    t.WriteCurrent(true, false);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), exact);
    t.GoToRead(1);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), longer);
    t.SetField(S("NOTE"), S("short"));  // the chain start stays
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(Stored(t, "NOTE").data())), 1u);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), "short");
    t.Close();
    const std::string memo = Bytes(Base("b") + ".dbt");
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(memo.data())), 4u);
    // Block 1 linked to 2, 2 to 3; after shrinking block 1 ends the chain.
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(memo.data()) + 512 + 508), 0u);
    EXPECT_EQ(LoadU32(reinterpret_cast<const uint8_t*>(memo.data()) + 1024 + 508), 3u);
}
