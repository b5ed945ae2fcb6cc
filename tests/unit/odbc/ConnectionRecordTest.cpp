#include <gtest/gtest.h>

#include "odbc/ODBC_cmd.h"
#include "odbc/odbcsqldyn.h"

namespace {

TEST(ConnectionAttributes, KeysIgnoreAsciiCaseAndKeepTheirFirstSpelling) {
    TODBC record;
    OdbcSetPair(record, "DSN", "sales");
    OdbcSetPair(record, "uid", "ann");
    OdbcSetPair(record, "dsn", "stock");
    ASSERT_EQ(2u, record.attributes.size());
    EXPECT_EQ("DSN", record.attributes[0].key);
    EXPECT_EQ("stock", OdbcGetPair(record, "Dsn"));
    EXPECT_EQ("ann", OdbcGetPair(record, "UID"));
    EXPECT_EQ("", OdbcGetPair(record, "PWD"));
    EXPECT_EQ("DSN=stock;uid=ann;", OdbcConnectionString(record));
    OdbcClearPairs(record);
    EXPECT_EQ("", OdbcConnectionString(record));
    EXPECT_EQ("", OdbcGetPair(record, "DSN"));
}

TEST(ConnectionAttributes, ReservedCharactersAreBracedAfterTrimming) {
    TODBC record;
    OdbcSetPair(record, "DSN", "sales");
    OdbcSetPair(record, "DATABASE", "my db");
    EXPECT_EQ("DSN=sales;DATABASE={my db};", OdbcConnectionString(record));

    OdbcClearPairs(record);
    OdbcSetPair(record, " a ", "a=b");
    OdbcSetPair(record, "b", "x;y");
    OdbcSetPair(record, "c", "\t  padded\r\n");
    OdbcSetPair(record, "d", "   ");
    OdbcSetPair(record, "e", "p@ss{1}");
    EXPECT_EQ("a={a=b};b=x;y;c=padded;d=;e={p@ss{1}};", OdbcConnectionString(record));
}

TEST(ConnectionRecord, FirstQueryLoadsTheDriverManagerAndReportsItsAbsence) {
    TODBC record;
    OdbcSetPair(record, "DRIVER", "SQLite3");
    OdbcClose(record);  // never initialised: nothing to close, attributes stay
    EXPECT_EQ(1u, record.attributes.size());

    OdbcSetLibraryNames({"libscriptrun-no-such-odbc.so.2"});
    EXPECT_THROW(OdbcQuery(record, "select 1"), OdbcLoadError);
    EXPECT_FALSE(record.initialized);
    EXPECT_EQ(0, OdbcBindingUsers());
    OdbcSetLibraryNames(OdbcDefaultLibraryNames());
    OdbcClearPairs(record);  // connects to nothing: only the loading matters here
    try {
        OdbcQuery(record, "");
    } catch (const OdbcLoadError&) {
        GTEST_SKIP() << "the ODBC driver manager is not installed";
    }
    EXPECT_TRUE(record.initialized);
    EXPECT_EQ(1, OdbcBindingUsers());
    OdbcClose(record);
    EXPECT_EQ(0, OdbcBindingUsers());
}

}  // namespace
