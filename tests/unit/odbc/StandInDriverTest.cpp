// Driver behaviour that the SQLite driver never shows (forward-only
// cursors, failing fetches, wide and unsized data), played by a stand-in
// driver manager supplied as the binding's entry table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "odbc/ODBC_cmd.h"
#include "odbc/odbcsqldyn.h"

namespace {

struct StandIn {
    SQLRETURN connectCode = SQL_SUCCESS;
    std::vector<SQLRETURN> fetchCodes;  // SQLFetch first, then each SQLFetchScroll; then SQL_NO_DATA
    size_t fetchCalls = 0;
    int statementCalls = 0;
    int liveHandles = 0;
    size_t memoOffset = 0;
    std::string memo = std::string(150000, 'm');
} fake;

int handleMarker;

SQLRETURN AllocHandle(SQLSMALLINT, SQLHANDLE, SQLHANDLE* out) {
    *out = &handleMarker;
    ++fake.liveHandles;
    return SQL_SUCCESS;
}
SQLRETURN FreeHandle(SQLSMALLINT, SQLHANDLE) { --fake.liveHandles; return SQL_SUCCESS; }
SQLRETURN SetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN DriverConnect(SQLHDBC, SQLHWND, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*, SQLUSMALLINT) {
    return fake.connectCode;
}
SQLRETURN Disconnect(SQLHDBC) { return SQL_SUCCESS; }
SQLRETURN Prepare(SQLHSTMT, SQLCHAR*, SQLINTEGER) { ++fake.statementCalls; return SQL_SUCCESS; }
SQLRETURN Execute(SQLHSTMT) { return SQL_SUCCESS; }
SQLRETURN NumResultCols(SQLHSTMT, SQLSMALLINT* count) { *count = 3; return SQL_SUCCESS; }

SQLRETURN DescribeCol(SQLHSTMT, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT, SQLSMALLINT* nameLength,
                      SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT*, SQLSMALLINT*) {
    static const SQLSMALLINT kTypes[] = {SQL_WVARCHAR, SQL_LONGVARCHAR, SQL_GUID};
    std::strcpy(reinterpret_cast<char*>(name), column == 1 ? "w" : column == 2 ? "memo" : "g");
    *nameLength = SQLSMALLINT(std::strlen(reinterpret_cast<char*>(name)));
    *type = kTypes[column - 1];
    *size = column == 3 ? 36 : 10;
    return SQL_SUCCESS;
}

SQLRETURN NextFetchCode() {
    fake.memoOffset = 0;
    return fake.fetchCalls < fake.fetchCodes.size() ? fake.fetchCodes[fake.fetchCalls++] : SQL_NO_DATA;
}
SQLRETURN Fetch(SQLHSTMT) { return NextFetchCode(); }
SQLRETURN FetchScroll(SQLHSTMT, SQLSMALLINT, SQLLEN) { return NextFetchCode(); }

// The memo's length is never told, so it arrives in pieces.
SQLRETURN MemoPiece(SQLPOINTER target, SQLLEN length, SQLLEN* indicator) {
    *indicator = SQL_NO_TOTAL;
    if (length == 0) return SQL_SUCCESS_WITH_INFO;
    if (fake.memoOffset >= fake.memo.size()) return SQL_NO_DATA;
    size_t piece = std::min(size_t(length), fake.memo.size() - fake.memoOffset);
    std::memcpy(target, fake.memo.data() + fake.memoOffset, piece);
    fake.memoOffset += piece;
    if (fake.memoOffset < fake.memo.size()) return SQL_SUCCESS_WITH_INFO;
    *indicator = SQLLEN(piece);
    return SQL_SUCCESS;
}

SQLRETURN GetData(SQLHSTMT, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target, SQLLEN length,
                  SQLLEN* indicator) {
    if (column == 1) {
        if (targetType != SQL_C_WCHAR) return SQL_ERROR;
        const char16_t text[] = u" \u0416\u0438\u0440 ";  // " Жир "
        std::memcpy(target, text, sizeof text);
        *indicator = sizeof text - 2;
        return SQL_SUCCESS;
    }
    if (column == 2) return MemoPiece(target, length, indicator);
    if (targetType != SQL_C_CHAR) return SQL_ERROR;
    std::strcpy(static_cast<char*>(target), "0e984725-c51c-4bf4-9960-e1c80e27aba0");
    *indicator = 36;
    return SQL_SUCCESS;
}

OdbcEntryTable StandInTable() {
    OdbcEntryTable table;
    table.SQLAllocHandle = AllocHandle;
    table.SQLSetEnvAttr = SetEnvAttr;
    table.SQLFreeHandle = FreeHandle;
    table.SQLDisconnect = Disconnect;
    table.SQLDriverConnect = DriverConnect;
    table.SQLPrepare = Prepare;
    table.SQLExecute = Execute;
    table.SQLFetch = Fetch;
    table.SQLNumResultCols = NumResultCols;
    table.SQLDescribeCol = DescribeCol;
    table.SQLFetchScroll = FetchScroll;
    table.SQLGetData = GetData;
    table.SQLColAttribute = [](SQLHSTMT, SQLUSMALLINT, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*,
                               SQLLEN*) -> SQLRETURN { return SQL_ERROR; };
    return table;
}

class StandInDriver : public ::testing::Test {
protected:
    void SetUp() override {
        fake = StandIn();
        OdbcUseEntryTable(&table_);
    }
    void TearDown() override {
        OdbcClose(record_);
        OdbcUseEntryTable(nullptr);
        EXPECT_EQ(0, fake.liveHandles);
    }
    TODBC_Array Run() { return OdbcQuery(record_, "select"); }

    OdbcEntryTable table_ = StandInTable();
    TODBC record_;
};

TEST_F(StandInDriver, ForwardOnlyCursorKeepsItsFirstRow) {
    // SQL_FETCH_FIRST is refused on a forward-only cursor; the row that
    // SQLFetch made current is the first row, and rows with warnings count.
    fake.fetchCodes = {SQL_SUCCESS, SQL_ERROR, SQL_SUCCESS_WITH_INFO, SQL_SUCCESS};
    EXPECT_EQ(3, Run().RowCount());
}

TEST_F(StandInDriver, RepeatedFetchErrorsEndTheResult) {
    fake.fetchCodes.assign(1000, SQL_ERROR);
    fake.fetchCodes[0] = SQL_SUCCESS;
    EXPECT_EQ(1, Run().RowCount());
    fake.fetchCalls = 0;
    fake.fetchCodes.assign(1000, SQL_INVALID_HANDLE);
    TODBC_Array none = Run();
    EXPECT_EQ(3, none.ColumnCount());
    EXPECT_EQ(0, none.RowCount());
}

TEST_F(StandInDriver, WideUnsizedAndGuidValuesArriveWhole) {
    fake.fetchCodes = {SQL_SUCCESS, SQL_SUCCESS};
    TODBC_Array result = Run();
    ASSERT_EQ(1, result.RowCount());
    EXPECT_EQ("\xc6\xe8\xf0", result.CellAt(0, 0).StrValue());
    EXPECT_EQ(fake.memo, result.CellAt(1, 0).StrValue());
    EXPECT_EQ("0e984725-c51c-4bf4-9960-e1c80e27aba0", result.CellAt(2, 0).StrValue());
}

TEST_F(StandInDriver, OnlyARealSuccessOpensTheConnection) {
    fake.connectCode = SQL_INVALID_HANDLE;
    EXPECT_EQ(0, Run().ColumnCount());
    EXPECT_EQ(0, fake.statementCalls);
    EXPECT_EQ(SQL_INVALID_HANDLE, record_.lastReturnCode);
    fake.connectCode = SQL_SUCCESS_WITH_INFO;
    Run();
    EXPECT_EQ(1, fake.statementCalls);
}

TEST_F(StandInDriver, MissingEntryPointsAreNamedAndNothingStaysAcquired) {
    table_.SQLGetData = nullptr;
    table_.SQLFetchScroll = nullptr;
    try {
        Run();
        FAIL() << "no error raised";
    } catch (const OdbcError& error) {
        EXPECT_STREQ("ODBC client lacks the entry points SQLFetchScroll, SQLGetData", error.what());
    }
    EXPECT_EQ(0, OdbcBindingUsers());
    EXPECT_FALSE(record_.initialized);
}

}  // namespace
