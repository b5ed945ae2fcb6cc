// The text record layout: stored bytes of every conversion, the cursor and
// the memo file.
#include "DbfTestSupport.h"
#include "dbf/DBF_Error.h"

namespace {

TDBF_Fields Mixed() {
    TDBF_Fields f;
    f.Add("NAME", 'C', 5, 0, false);
    f.Add("SUM", 'N', 6, 2, false);
    f.Add("CNT", 'N', 5, 0, false);
    f.Add("OK", 'L', 0, 0, false);
    f.Add("DAY", 'D', 0, 0, false);
    f.Add("NOTE", 'M', 0, 0, false);
    f.Add("RATE", 'F', 10, 2, false);
    return f;
}

}  // namespace

TEST_F(DbfTest, NewTableIsEmptyAndFirstAppendReplacesEndMark) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    EXPECT_EQ(t.RecordCount(), 0u);
    t.First(true);
    EXPECT_EQ(t.RecNo(), 1u);
    EXPECT_TRUE(t.Eof());
    const size_t headerLength = t.HeaderLength();
    const size_t recordLength = t.RecordLength();
    EXPECT_EQ(headerLength, 32u * 8 + 1);
    EXPECT_EQ(recordLength, 1u + 5 + 6 + 5 + 1 + 8 + 10 + 10);
    EXPECT_EQ(Bytes(Base("t") + ".dbf")[headerLength], '\x1a');

    t.Append(true);
    t.SetField(S("NAME"), S("ab"));
    t.WriteCurrent(true, false);
    t.Close();
    const std::string file = Bytes(Base("t") + ".dbf");
    EXPECT_EQ(file[headerLength], ' ');
    EXPECT_EQ(file.substr(headerLength + 1, 5), "ab   ");
    EXPECT_EQ(file[headerLength + recordLength], '\x1a');
    EXPECT_EQ(uint8_t(file[4]), 1);  // record count in the header
    EXPECT_EQ(uint8_t(file[0]), 0x83);  // a memo field sets bit 0x80
}

TEST_F(DbfTest, NumericTextsAreRightAlignedFixedPoint) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    const std::pair<Variant, std::string> cases[] = {
        {F(12.5), " 12.50"}, {F(1.05), "  1.05"}, {F(-0.5), " -0.50"}, {S("abc"), "  0.00"},
        {S("3.25"), "  3.25"}, {S("7,5"), "  7.50"}, {I(42), " 42.00"},
    };
    for (const auto& [value, stored] : cases) {
        t.SetField(S("SUM"), value);
        EXPECT_EQ(Stored(t, "SUM"), stored) << value.ToText();
    }
    t.SetField(S("RATE"), F(-1.25));  // other readers need the decimal point
    EXPECT_EQ(Stored(t, "RATE"), "-1.25     ");
    t.SetField(S("CNT"), F(-2.7));  // no decimals: truncated toward zero
    EXPECT_EQ(Stored(t, "CNT"), "   -2");
    EXPECT_DOUBLE_EQ(t.GetField(S("CNT")).DoubleValue(), -2);
}

TEST_F(DbfTest, NumberTooWideForItsFieldIsAnErrorNamingTheField) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    t.SetField(S("CNT"), I(7));
    try {
        t.SetField(S("CNT"), I(123456));
        FAIL() << "no error";
    } catch (const TDBFError& e) {
        EXPECT_NE(std::string(e.what()).find("CNT"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Stored(t, "CNT"), "    7");  // the old value stays
    EXPECT_THROW(t.SetField(S("SUM"), F(999.999)), TDBFError);  // rounds up to 1000.00
}

TEST_F(DbfTest, LogicalAndDateConversions) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    for (const char* yes : {"1", "T", "y"}) {
        t.SetField(S("OK"), S(yes));
        EXPECT_EQ(Stored(t, "OK"), "T") << yes;
    }
    for (const char* no : {"0", "n", ""}) {
        t.SetField(S("OK"), S(no));
        EXPECT_EQ(Stored(t, "OK"), "F") << no;
    }
    t.SetField(S("OK"), Variant::FromBool(true));
    EXPECT_TRUE(t.GetField(S("OK")).BoolValue());

    t.SetField(S("DAY"), Variant::FromDate(Date(2024, 1, 5)));
    EXPECT_EQ(Stored(t, "DAY"), "20240105");
    t.SetField(S("DAY"), S("20231231"));
    EXPECT_EQ(Stored(t, "DAY"), "20231231");
    EXPECT_EQ(t.GetField(S("DAY")).Kind(), VarKind::Date);
    EXPECT_DOUBLE_EQ(t.GetField(S("DAY")).DateValue(), Date(2023, 12, 31));
    EXPECT_THROW(t.SetField(S("DAY"), S("20241340")), TDBFError);
    EXPECT_THROW(t.SetField(S("DAY"), S("05.01.2024")), TDBFError);
    t.SetFieldBlank(t.FieldIndex("DAY"));
    EXPECT_DOUBLE_EQ(t.GetField(S("DAY")).DateValue(), Date(1900, 1, 1));
}

TEST_F(DbfTest, TextFieldsAreCutAndPaddedAndKeepTheirPadding) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    t.SetField(S("NAME"), S("abcdefgh"));
    EXPECT_EQ(Stored(t, "NAME"), "abcde");
    t.SetField(S("name"), S("xy"));  // names are matched in any case
    EXPECT_EQ(Stored(t, "NAME"), "xy   ");
    EXPECT_EQ(t.GetField(I(0)).StrValue(), "xy   ");
    EXPECT_EQ(t.GetField(S("missing")).StrValue(), "");
    EXPECT_EQ(t.GetField(I(99)).StrValue(), "");
    t.SetField(S("missing"), S("x"));  // ignored
}

TEST_F(DbfTest, BlankRecordHoldsTheFieldDefaults) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    EXPECT_EQ(Stored(t, "SUM"), "     0");
    EXPECT_EQ(Stored(t, "OK"), "F");
    EXPECT_EQ(Stored(t, "NAME"), "     ");
    EXPECT_EQ(Stored(t, "NOTE"), std::string(10, ' '));
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), "");  // a blank memo is the empty text
    const DateParts today = PartsFromOleDate(OleNow());
    EXPECT_EQ(Stored(t, "DAY").substr(0, 4), std::to_string(today.year));
}

TEST_F(DbfTest, CodePageOneStoresDosLetters) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    t.SetField(S("NAME"), S("\xa8\xc0"));  // Io and A in code page 1251
    EXPECT_EQ(Stored(t, "NAME"), "\xf0\x80   ");
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "\xa8\xc0   ");
    t.CodePage = 0;
    t.SetField(S("NAME"), S("\xa8"));
    EXPECT_EQ(Stored(t, "NAME"), "\xa8    ");
}

TEST_F(DbfTest, MemoMovesToTheEndWhenItGrowsAndStaysWhenItShrinks) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    t.SetField(S("NOTE"), S("first"));
    EXPECT_EQ(Stored(t, "NOTE"), "         1");
    t.WriteCurrent(true, false);
    t.Append(true);
    t.SetField(S("NOTE"), S("second"));
    EXPECT_EQ(Stored(t, "NOTE"), "         2");
    t.WriteCurrent(true, false);

    t.GoToRead(1);
    t.SetField(S("NOTE"), S("x"));  // shorter: rewritten in block 1
    EXPECT_EQ(Stored(t, "NOTE"), "         1");
    t.SetField(S("NOTE"), S(std::string(600, 'g')));  // no longer fits block 1
    EXPECT_EQ(Stored(t, "NOTE"), "         3");
    t.WriteCurrent(true, false);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), std::string(600, 'g'));
    t.GoToRead(2);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), "second");
    t.Close();
    const std::string memo = Bytes(Base("t") + ".dbt");
    EXPECT_EQ(uint8_t(memo[0]), 4);  // blocks 3 and 4 hold the long text
    EXPECT_EQ(memo.substr(512, 2), "x\x1a");
}

TEST_F(DbfTest, LongTextMemosHaveNoBlockLimit) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Append(true);
    const std::string big(70000, 'q');
    t.SetField(S("NOTE"), S(big));
    t.WriteCurrent(true, false);
    t.SetField(S("NOTE"), S(big + "r"));  // same block count: stays in place
    EXPECT_EQ(Stored(t, "NOTE"), "         1");
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), big + "r");
}

TEST_F(DbfTest, CursorMovesAndGoToReadOutsideTheTable) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    for (const char* name : {"a", "b", "c"}) {
        t.Append(true);
        t.SetField(S("NAME"), S(name));
        t.WriteCurrent(false, false);
    }
    EXPECT_EQ(t.RecNo(), 4u);
    EXPECT_TRUE(t.Eof());
    t.Next(true);
    EXPECT_EQ(t.RecNo(), 4u);  // the end position is as far as it goes
    t.Last(true);
    EXPECT_EQ(t.RecNo(), 3u);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "c    ");
    t.Prev(true);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "b    ");
    t.GoToRead(0);
    t.GoToRead(9);
    EXPECT_EQ(t.RecNo(), 2u);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "b    ");
    t.First(true);
    t.Next(true);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "b    ");
}

TEST_F(DbfTest, CacheReadsTheRecordMovedToAndWritesThrough) {
    {
        TDBF_Data t;
        Make(t, Base("t"), Mixed());
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            t.Append(true);
            t.SetField(S("NAME"), S(name));
            t.WriteCurrent(false, false);
        }
        t.Close();
    }
    TDBF_Data t(Base("t"), "rw", true, true, false);
    t.CacheBlock = 2;
    t.First(true);
    t.Next(true);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "b    ");
    t.Next(true);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "c    ");
    t.Prev(true);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "b    ");
    t.SetField(S("NAME"), S("B"));
    t.WriteCurrent(true, false);
    t.Append(true);
    t.SetField(S("NAME"), S("f"));
    t.WriteCurrent(true, false);
    t.GoToRead(2);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "B    ");
    t.GoToRead(6);
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "f    ");
    t.Close();
    TDBF_Data again(Base("t"), "r", true, true, false);
    EXPECT_EQ(again.RecordCount(), 6u);
    again.GoToRead(2);
    EXPECT_EQ(again.GetField(S("NAME")).StrValue(), "B    ");
}

TEST_F(DbfTest, DeletedRecordsAndReadOnlyTables) {
    {
        TDBF_Data t;
        Make(t, Base("t"), Mixed());
        t.Append(true);
        t.SetField(S("NAME"), S("gone"));
        t.WriteCurrent(true, true);
        t.Close();
    }
    TDBF_Data t(Base("t"), "r", true, true, false);
    EXPECT_TRUE(t.IsDeleted());
    t.ReadCurrent(true, true);  // deleted records read as blank ones
    EXPECT_FALSE(t.IsDeleted());
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "     ");
    t.SetField(S("NAME"), S("x"));  // read only: nothing changes
    t.Append(true);
    EXPECT_EQ(t.RecordCount(), 1u);
    const std::string before = Bytes(Base("t") + ".dbf");
    t.Close();
    EXPECT_EQ(Bytes(Base("t") + ".dbf"), before);
}

TEST_F(DbfTest, LogKeepsOnlyEditsThatWereWritten) {
    TDBF_Data t;
    Make(t, Base("t"), Mixed());
    t.Close();
    Put(Base("t") + ".log", "");
    ASSERT_TRUE(t.Open(Base("t"), "rw", true, true, false));
    t.Append(true);
    t.SetField(S("NAME"), S("ab"));
    t.WriteCurrent(true, false);
    t.SetField(S("NAME"), S("never"));
    t.ReadCurrent(true, false);  // drops the pending edit
    t.MarkDeleted(true);
    t.WriteCurrent(true, false);
    t.Close();
    const std::string log = Bytes(Base("t") + ".log");
    EXPECT_NE(log.find(" 1|||Insert\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" 1|||Edit NAME{[ab]} => {[]}\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" 1|||Del\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("never"), std::string::npos) << log;
    size_t writes = 0;
    for (size_t at = log.find("Write Data"); at != std::string::npos; at = log.find("Write Data", at + 1)) ++writes;
    EXPECT_EQ(writes, 2u);
    // Lines start with "DD.MM.YYYY H:MM:SS ".
    EXPECT_EQ(log[2], '.');
    EXPECT_EQ(log[5], '.');
    EXPECT_EQ(log[10], ' ');
}
