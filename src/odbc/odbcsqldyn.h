// Process-wide binding to the ODBC driver manager. The program does not
// link the driver manager: it is loaded by name when the binding is first
// needed, so that the program starts and runs scripts on a machine that has
// no ODBC installed. The statement layer calls ODBC only through
// OdbcBinding().
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

#include "values/ScriptError.h"

// The 42 bound entry points, in lookup order. The second column says
// whether the statement layer calls the entry (and so requires it).
#define SCRIPTRUN_ODBC_ENTRIES(X)         \
    X(SQLAllocHandle, true)               \
    X(SQLSetEnvAttr, true)                \
    X(SQLFreeHandle, true)                \
    X(SQLGetInfo, false)                  \
    X(SQLProcedures, false)               \
    X(SQLColumns, false)                  \
    X(SQLSpecialColumns, false)           \
    X(SQLGetDiagRec, false)               \
    X(SQLGetDiagField, false)             \
    X(SQLConnect, false)                  \
    X(SQLDisconnect, true)                \
    X(SQLDriverConnect, true)             \
    X(SQLExecDirect, false)               \
    X(SQLPrepare, true)                   \
    X(SQLCloseCursor, false)              \
    X(SQLExecute, true)                   \
    X(SQLFetch, true)                     \
    X(SQLNumResultCols, true)             \
    X(SQLDescribeCol, true)               \
    X(SQLFetchScroll, true)               \
    X(SQLExtendedFetch, false)            \
    X(SQLGetData, true)                   \
    X(SQLSetStmtAttr, false)              \
    X(SQLGetStmtAttr, false)              \
    X(SQLBulkOperations, false)           \
    X(SQLPutData, false)                  \
    X(SQLBindCol, false)                  \
    X(SQLSetPos, false)                   \
    X(SQLDataSources, false)              \
    X(SQLDrivers, false)                  \
    X(SQLSetConnectAttr, false)           \
    X(SQLGetCursorName, false)            \
    X(SQLSetCursorName, false)            \
    X(SQLRowCount, false)                 \
    X(SQLBindParameter, false)            \
    X(SQLFreeStmt, false)                 \
    X(SQLColAttribute, true)              \
    X(SQLEndTran, false)                  \
    X(SQLTables, false)                   \
    X(SQLPrimaryKeys, false)              \
    X(SQLProcedureColumns, false)         \
    X(SQLStatistics, false)

// One address per entry point; empty (nullptr) when not loaded or when the
// library does not export the name. The pointer types come from the
// platform's declarations (decltype does not link anything).
struct OdbcEntryTable {
#define SCRIPTRUN_ODBC_FIELD(name, required) decltype(&::name) name = nullptr;
    SCRIPTRUN_ODBC_ENTRIES(SCRIPTRUN_ODBC_FIELD)
#undef SCRIPTRUN_ODBC_FIELD
};

// The driver manager could not be loaded (an input/output failure).
class OdbcLoadError : public ScriptError {
public:
    using ScriptError::ScriptError;
};

// Loads the library on the first call and counts one more user; raises
// OdbcLoadError when it cannot be loaded (the count stays 0, so a later
// call tries again).
void OdbcBindingAcquire();
// Counts one user less; frees the library when the last user is gone.
// Does nothing when the count is already 0.
void OdbcBindingRelease();

// The binding table; its entries are empty while nothing is loaded.
const OdbcEntryTable& OdbcBinding();
int OdbcBindingUsers();
bool OdbcBindingLoaded();
// The entry points the statement layer calls that the loaded library does
// not export (empty when all are there, or when nothing is loaded).
std::vector<std::string> OdbcMissingRequiredEntries();

// Supplies the entry points directly instead of loading a library (a
// stand-in driver manager); nullptr goes back to loading by name. Takes
// effect at the next load.
void OdbcUseEntryTable(const OdbcEntryTable* table);

// The library names tried in order; the first one names the library in the
// load-failure message. Tests point this at a name that does not exist.
void OdbcSetLibraryNames(std::vector<std::string> names);
std::vector<std::string> OdbcDefaultLibraryNames();

// ODBC date and time structures to OLE dates (days since 30.12.1899, the
// fraction being the time of day). A component out of range raises
// std::invalid_argument. The timestamp's fraction is not used.
double DateStructToDateTime(const SQL_DATE_STRUCT& date);
double TimeStructToDateTime(const SQL_TIME_STRUCT& time);
double TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& stamp);
