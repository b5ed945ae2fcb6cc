// The ODBC connection record and the statement layer: connection
// attributes and the connection string built from them, connecting,
// running one statement, describing its columns, fetching and reading its
// rows, and the whole self-contained query that yields a TODBC_Array.
// Every ODBC call goes through the run-time binding (odbcsqldyn.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/ODBC_Array.h"
#include "odbc/odbcFields.h"
#include "odbc/odbcText.h"
#include "values/ScriptError.h"

// ODBC handles are pointers on this platform (checked where they are used).
using OdbcHandle = void*;

struct TSTMTRec {
    OdbcHandle handle = nullptr;
    std::string text;  // as the driver received it
};

struct ConnectionPair {
    std::string key;
    std::string value;
};

// The environment could not be set up.
class OdbcError : public ScriptError {
public:
    using ScriptError::ScriptError;
};

struct TODBC {
    TODBC() = default;
    TODBC(const TODBC&) = delete;
    TODBC& operator=(const TODBC&) = delete;
    ~TODBC();  // closes what is still open

    std::vector<TSTMTRec> statements;
    OdbcHandle environment = nullptr;
    OdbcHandle connection = nullptr;
    bool connected = false;
    bool initialized = false;
    int16_t lastReturnCode = 0;
    std::vector<ConnectionPair> attributes;
    TFields_ fields;
    int32_t fetchStatus = 0;  // 0 while rows may follow, -1 after the last
    int32_t currentStatement = -1;
    int32_t failedFetches = 0;  // consecutive fetch calls that failed
    OdbcTextCodec codec = OdbcTextCodec(false);
};

// Acquires the binding (OdbcLoadError when the driver manager is missing)
// and allocates the environment (OdbcError when that fails). Does nothing
// on a record that is already initialised.
void OdbcInit(TODBC& record);
// Releases everything OdbcInit and the queries acquired; safe to repeat.
void OdbcClose(TODBC& record);

// Attributes: keys are compared without regard to ASCII letter case.
void OdbcSetPair(TODBC& record, std::string_view key, std::string_view value);
std::string OdbcGetPair(const TODBC& record, std::string_view key);
void OdbcClearPairs(TODBC& record);
// "key=value;" for every pair in order (Windows-1251, before conversion
// for the driver); keys and values are trimmed and put into braces when
// they contain a character that the connection-string syntax reserves.
std::string OdbcConnectionString(const TODBC& record);

void OdbcConnect(TODBC& record);
void OdbcDisconnect(TODBC& record);
// Prepares and executes the SQL text, describes the result's columns and
// fetches the first row. -1 when nothing ran (not connected, blank text).
int32_t OdbcRunStatement(TODBC& record, std::string_view sqlText);
// Reads the next row into the fields; fetchStatus becomes -1 when none.
void OdbcFetchNext(TODBC& record);
// The value of the column at a 0-based field index in the current row.
Variant OdbcColumnValue(const TODBC& record, size_t fieldIndex);
void OdbcFreeStatement(TODBC& record);

// Connect, run one statement, read every row, free, disconnect. The first
// query initialises the record (OdbcInit, so it raises OdbcLoadError when
// the driver manager is missing). Never raises for a failing connection or
// statement: the result is then empty or has columns and no rows;
// lastReturnCode tells what ODBC said.
TODBC_Array OdbcQuery(TODBC& record, std::string_view sqlText);
