// Queries through the real driver manager and the SQLite ODBC driver.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "odbc/ODBC_cmd.h"
#include "odbc/odbcsqldyn.h"

namespace {

class SqliteQuery : public ::testing::Test {
protected:
    void SetUp() override {
        // No blanks: this driver takes braces as part of the file name.
        path_ = ::testing::TempDir() + "scriptrun_odbc_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db";
        std::remove(path_.c_str());
        try {
            OdbcInit(record_);
        } catch (const OdbcLoadError& error) {
            GTEST_SKIP() << error.what();
        }
        OdbcSetPair(record_, "DRIVER", "SQLite3");
        OdbcSetPair(record_, "Database", path_);
        TODBC_Array probe = Run("select 1");
        if (probe.ColumnCount() != 1) GTEST_SKIP() << "the SQLite3 ODBC driver is not installed";
    }
    void TearDown() override {
        OdbcClose(record_);
        std::remove(path_.c_str());
        unsetenv("SCRIPTRUN_ODBC_CHARSET");
    }

    TODBC_Array Run(const std::string& sql) { return OdbcQuery(record_, sql); }
    Variant Cell(TODBC_Array& result, const char* column) { return result.CellByKey(Variant::FromStr(column)); }

    std::string path_;
    TODBC record_;
};

TEST_F(SqliteQuery, EveryColumnTypeArrivesWithItsValueAndKind) {
    Run("create table t(i integer, b bigint, s smallint, r real, n numeric(10,2), v varchar(20),"
        " d date, tm time, ts timestamp, f boolean)");
    Run("insert into t values(42, 5000000000, -5, 2.5, 7.25, 'word', '2005-03-01', '12:30:15',"
        " '2005-03-01 12:30:15', 1)");
    TODBC_Array result = Run("select * from t");
    ASSERT_EQ(10, result.ColumnCount());
    ASSERT_EQ(1, result.RowCount());
    EXPECT_EQ("i", result.ColumnName(0));

    struct Expected { const char* column; VarKind kind; };
    const Expected kinds[] = {{"i", VarKind::I4}, {"b", VarKind::I8}, {"s", VarKind::I2},
                              {"r", VarKind::R8}, {"n", VarKind::R8}, {"v", VarKind::String},
                              {"d", VarKind::Date}, {"tm", VarKind::Date}, {"ts", VarKind::Date},
                              {"f", VarKind::Bool}};
    for (const Expected& e : kinds) EXPECT_EQ(e.kind, Cell(result, e.column).Kind()) << e.column;
    EXPECT_EQ(42, Cell(result, "i").IntValue());
    EXPECT_EQ(5000000000, Cell(result, "b").IntValue());
    EXPECT_EQ(-5, Cell(result, "s").IntValue());
    EXPECT_DOUBLE_EQ(2.5, Cell(result, "r").DoubleValue());
    EXPECT_DOUBLE_EQ(7.25, Cell(result, "n").DoubleValue());
    EXPECT_EQ("word", Cell(result, "v").StrValue());
    EXPECT_DOUBLE_EQ(38412, Cell(result, "d").DateValue());
    EXPECT_NEAR(45015.0 / 86400, Cell(result, "tm").DateValue(), 1e-9);
    EXPECT_NEAR(38412 + 45015.0 / 86400, Cell(result, "ts").DateValue(), 1e-9);
    EXPECT_TRUE(Cell(result, "f").BoolValue());
}

TEST_F(SqliteQuery, NullsInEveryColumnReadAsTheEmptyString) {
    Run("create table t(i integer, r real, v varchar(20), x text, d date, ts timestamp, f bit, bl blob)");
    Run("insert into t values(1, 1.5, 'a', 'b', '2001-01-01', '2001-01-01 10:00:00', 0, x'01')");
    Run("insert into t(i) values(null)");
    TODBC_Array result = Run("select * from t order by i desc");
    ASSERT_EQ(2, result.RowCount());
    EXPECT_EQ(VarKind::Bool, result.CellAt(6, 0).Kind());
    EXPECT_FALSE(result.CellAt(6, 0).BoolValue());
    for (int column = 0; column < result.ColumnCount(); ++column) {
        Variant cell = result.CellAt(column, 1);
        EXPECT_EQ(VarKind::String, cell.Kind()) << result.ColumnName(column);
        EXPECT_EQ("", cell.StrValue()) << result.ColumnName(column);
    }
}

TEST_F(SqliteQuery, LongTextsArriveWholeAndShortValuesLeaveNoRemains) {
    std::string longText;
    for (int i = 0; i < 120; ++i) longText += "\xc0\xe1\xe2 ";  // "Абв " in Windows-1251
    longText += "end";
    Run("create table t(k integer, x text, v varchar(12))");
    Run("insert into t values(1, '" + longText + "', 'abcdefghij')");
    Run("insert into t values(2, '', 'xy')");
    TODBC_Array result = Run("select x, v, length(x) as n from t order by k");
    ASSERT_EQ(2, result.RowCount());
    EXPECT_EQ(483, result.CellAt(2, 0).IntValue());
    EXPECT_EQ(longText, result.CellAt(0, 0).StrValue());
    EXPECT_EQ("abcdefghij", result.CellAt(1, 0).StrValue());
    EXPECT_EQ("", result.CellAt(0, 1).StrValue());
    EXPECT_EQ("xy", result.CellAt(1, 1).StrValue());
}

TEST_F(SqliteQuery, CyrillicIsStoredAsUtf8AndArrivesAs1251) {
    // "Привет" in Windows-1251, as a script writes it.
    const std::string hello = "\xcf\xf0\xe8\xe2\xe5\xf2";
    Run("create table t(v varchar(10))");
    Run("insert into t values('" + hello + "')");
    TODBC_Array result = Run("select v as \"\xc8\xec\xff\", length(v) as n, hex(v) as h from t");
    EXPECT_EQ("\xc8\xec\xff", result.ColumnName(0));  // "Имя"
    EXPECT_EQ(hello, result.CellAt(0, 0).StrValue());
    EXPECT_EQ(6, result.CellAt(1, 0).IntValue());
    EXPECT_EQ("D09FD180D0B8D0B2D0B5D182", result.CellAt(2, 0).StrValue());

    setenv("SCRIPTRUN_ODBC_CHARSET", "1251", 1);
    TODBC_Array raw = Run("select v from t");
    EXPECT_EQ("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", raw.CellAt(0, 0).StrValue());
}

TEST_F(SqliteQuery, EmptySelectHasColumnsAndNoRows) {
    Run("create table t(a integer, b varchar(5))");
    TODBC_Array result = Run("select a, b from t");
    EXPECT_EQ(2, result.ColumnCount());
    EXPECT_EQ("b", result.ColumnName(1));
    EXPECT_EQ(0, result.RowCount());
    EXPECT_TRUE(result.AtEnd());
}

TEST_F(SqliteQuery, UpdateHasNoColumnsAndItsChangeIsVisibleNext) {
    Run("create table t(a integer)");
    Run("insert into t values(1)");
    TODBC_Array update = Run("update t set a = a + 41");
    EXPECT_EQ(0, update.ColumnCount());
    EXPECT_EQ(0, update.RowCount());
    TODBC_Array result = Run("select a from t");
    EXPECT_EQ(42, result.CellAt(0, 0).IntValue());
    // After a query the record is ready for the next one.
    EXPECT_TRUE(record_.statements.empty());
    EXPECT_FALSE(record_.connected);
    EXPECT_EQ(0, record_.fetchStatus);
    EXPECT_EQ(0, record_.lastReturnCode);
    EXPECT_EQ(1u, record_.fields.size());
}

TEST_F(SqliteQuery, FailedConnectionGivesAnEmptyResultAndMinusOne) {
    OdbcSetPair(record_, "driver", "No Such Driver For Scriptrun");
    TODBC_Array result = Run("select 1");
    EXPECT_EQ(0, result.ColumnCount());
    EXPECT_EQ(0, result.RowCount());
    EXPECT_EQ(-1, record_.lastReturnCode);
    EXPECT_FALSE(record_.connected);
    EXPECT_EQ(nullptr, record_.connection);
}

TEST_F(SqliteQuery, FailingAndBlankStatementsRaiseNothing) {
    TODBC_Array syntax = Run("selec nonsense from");
    EXPECT_EQ(0, syntax.ColumnCount());
    EXPECT_EQ(0, syntax.RowCount());
    TODBC_Array missing = Run("select * from no_such_table");
    EXPECT_EQ(0, missing.ColumnCount());
    TODBC_Array blank = Run(" \t\r\n");
    EXPECT_EQ(0, blank.ColumnCount());
    EXPECT_TRUE(record_.statements.empty());
    EXPECT_EQ(1, Run("select 1").RowCount());
}

TEST_F(SqliteQuery, DuplicateAndLongColumnNamesKeepTheirOwn) {
    const std::string longName(60, 'q');
    const std::string forty(40, 'w');
    TODBC_Array result = Run("select 1 as a, 'x' as A, 3 as " + longName + ", 4 as " + forty);
    ASSERT_EQ(4, result.ColumnCount());
    EXPECT_EQ(1, result.CellAt(0, 0).IntValue());
    EXPECT_EQ("x", result.CellAt(1, 0).StrValue());
    EXPECT_EQ(0, result.ColumnIndex("A"));
    EXPECT_EQ(longName, result.ColumnName(2));
    EXPECT_EQ(forty, result.ColumnName(3));
    EXPECT_EQ(3, result.CellByKey(Variant::FromStr(longName)).IntValue());
}

TEST_F(SqliteQuery, BinaryValuesKeepEveryByte) {
    Run("create table t(b blob, v varbinary(2))");
    Run("insert into t values(x'00ff4100', x'0102030405')");
    Run("insert into t values(zeroblob(70000), x'')");
    TODBC_Array result = Run("select b, v from t");
    ASSERT_EQ(2, result.RowCount());
    EXPECT_EQ(std::string("\x00\xff\x41\x00", 4), result.CellAt(0, 0).StrValue());
    EXPECT_EQ(std::string("\x01\x02\x03\x04\x05", 5), result.CellAt(1, 0).StrValue());
    EXPECT_EQ(std::string(70000, '\0'), result.CellAt(0, 1).StrValue());
    EXPECT_EQ("", result.CellAt(1, 1).StrValue());
}

TEST_F(SqliteQuery, UnconvertibleDatesReadAsTheEmptyString) {
    Run("create table t(k integer, d date)");
    Run("insert into t values(1, '2005-02-30')");
    Run("insert into t values(2, '2005-03-01')");
    TODBC_Array result = Run("select d from t order by k");
    ASSERT_EQ(2, result.RowCount());
    EXPECT_EQ(VarKind::String, result.CellAt(0, 0).Kind());
    EXPECT_EQ(VarKind::Date, result.CellAt(0, 1).Kind());
}

TEST_F(SqliteQuery, ManyRowsArriveInOrder) {
    TODBC_Array result = Run("with recursive n(x) as (select 1 union all select x + 1 from n where x < 2500)"
                             " select x from n");
    ASSERT_EQ(2500, result.RowCount());
    EXPECT_EQ(1, result.CellAt(0, 0).IntValue());
    EXPECT_EQ(2500, result.CellAt(0, 2499).IntValue());
}

TEST_F(SqliteQuery, CloseReleasesTheBinding) {
    int users = OdbcBindingUsers();
    OdbcClose(record_);
    EXPECT_EQ(users - 1, OdbcBindingUsers());
    EXPECT_FALSE(record_.initialized);
    EXPECT_TRUE(record_.attributes.empty());
    EXPECT_EQ(0, Run("select 1").ColumnCount());
}

}  // namespace
