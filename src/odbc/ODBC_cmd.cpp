// The connection record: environment, attributes, connection and the
// whole query. Statements and rows are in ODBC_statement.cpp.
#include "odbc/ODBC_cmd.h"

#include <type_traits>

#include "odbc/odbcsqldyn.h"

static_assert(std::is_same_v<SQLHANDLE, OdbcHandle>, "ODBC handles are expected to be pointers");

namespace {

constexpr SQLSMALLINT kCompletedStringSize = 1024;

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

template <typename Pairs>
auto FindPair(Pairs& pairs, std::string_view key) -> decltype(&pairs.front()) {
    for (auto& pair : pairs)
        if (SameAsciiText(pair.key, key)) return &pair;
    return nullptr;
}

// Braces protect the characters that the connection-string syntax
// reserves. ";" is left alone on purpose: a value such as "x;y" goes out
// as it is, so one attribute can carry further ones.
std::string QuoteConnectionText(std::string_view text) {
    static constexpr std::string_view kReserved = " !()*,=@[]{}";
    std::string_view trimmed = TrimControlAndBlank(text);
    if (trimmed.find_first_of(kReserved) == std::string_view::npos) return std::string(trimmed);
    return "{" + std::string(trimmed) + "}";
}

void RequireEntryPoints() {
    std::vector<std::string> missing = OdbcMissingRequiredEntries();
    if (missing.empty()) return;
    std::string names;
    for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
    throw OdbcError("ODBC client lacks the entry points " + names);
}

void AllocateEnvironment(TODBC& record) {
    const OdbcEntryTable& odbc = OdbcBinding();
    SQLHANDLE environment = SQL_NULL_HANDLE;
    if (!Succeeded(odbc.SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)))
        throw OdbcError("Could not allocate ODBC Environment handle");
    record.environment = environment;
    record.lastReturnCode = odbc.SQLSetEnvAttr(
        environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
}

}  // namespace

TODBC::~TODBC() { OdbcClose(*this); }

void OdbcInit(TODBC& record) {
    if (record.initialized) return;
    OdbcBindingAcquire();
    // A record that failed to start is never closed, so it must not keep
    // the binding.
    try {
        RequireEntryPoints();
        AllocateEnvironment(record);
    } catch (...) {
        OdbcBindingRelease();
        throw;
    }
    record.initialized = true;
    record.connected = false;
    record.fields.clear();
}

void OdbcClose(TODBC& record) {
    if (!record.initialized) return;
    const OdbcEntryTable& odbc = OdbcBinding();
    record.fields.clear();
    OdbcClearPairs(record);
    while (!record.statements.empty()) {
        record.currentStatement = int32_t(record.statements.size()) - 1;
        OdbcFreeStatement(record);
    }
    OdbcDisconnect(record);
    if (record.environment != nullptr) {
        record.lastReturnCode = odbc.SQLFreeHandle(SQL_HANDLE_ENV, record.environment);
        record.environment = nullptr;
    }
    OdbcBindingRelease();
    record.initialized = false;
}

void OdbcSetPair(TODBC& record, std::string_view key, std::string_view value) {
    ConnectionPair* pair = FindPair(record.attributes, key);
    if (pair == nullptr) {
        record.attributes.push_back(ConnectionPair{std::string(key), std::string()});
        pair = &record.attributes.back();
    }
    pair->value = std::string(value);
}

std::string OdbcGetPair(const TODBC& record, std::string_view key) {
    const ConnectionPair* pair = FindPair(record.attributes, key);
    return pair ? pair->value : std::string();
}

void OdbcClearPairs(TODBC& record) { record.attributes.clear(); }

std::string OdbcConnectionString(const TODBC& record) {
    std::string text;
    for (const ConnectionPair& pair : record.attributes)
        text += QuoteConnectionText(pair.key) + "=" + QuoteConnectionText(pair.value) + ";";
    return text;
}

namespace {

// A DRIVER attribute that names no driver at all: without a matching
// driver entry, the driver manager hands the blank name to its library
// loader, which aborts the whole process.
// Keys and values are compared as they go out: without control
// characters and blanks around them.
bool NamesNoDriver(const TODBC& record) {
    for (const ConnectionPair& pair : record.attributes)
        if (SameAsciiText(TrimControlAndBlank(pair.key), "DRIVER") && TrimControlAndBlank(pair.value).empty())
            return true;
    return false;
}

}  // namespace

void OdbcConnect(TODBC& record) {
    if (!record.initialized || record.connected) return;
    if (NamesNoDriver(record)) {
        record.lastReturnCode = SQL_ERROR;  // fails as a connection the driver manager refused
        return;
    }
    const OdbcEntryTable& odbc = OdbcBinding();
    SQLHANDLE connection = SQL_NULL_HANDLE;
    record.lastReturnCode = odbc.SQLAllocHandle(SQL_HANDLE_DBC, record.environment, &connection);
    record.connection = connection;
    std::string text = record.codec.ToDriver(OdbcConnectionString(record));
    SQLSMALLINT length = text.size() <= 32767 ? SQLSMALLINT(text.size()) : SQLSMALLINT(SQL_NTS);
    SQLCHAR completed[kCompletedStringSize] = {};
    SQLSMALLINT completedLength = 0;
    SQLRETURN rc = odbc.SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                         length, completed, kCompletedStringSize, &completedLength,
                                         SQL_DRIVER_NOPROMPT);
    record.lastReturnCode = rc;
    // Only a real success opens the connection: an invalid handle or "no
    // data" must not be taken for an open connection.
    if (Succeeded(rc)) {
        record.connected = true;
        return;
    }
    if (connection != SQL_NULL_HANDLE) odbc.SQLFreeHandle(SQL_HANDLE_DBC, connection);
    record.connection = nullptr;
}

void OdbcDisconnect(TODBC& record) {
    if (!record.connected) return;
    const OdbcEntryTable& odbc = OdbcBinding();
    record.lastReturnCode = odbc.SQLDisconnect(record.connection);
    record.lastReturnCode = odbc.SQLFreeHandle(SQL_HANDLE_DBC, record.connection);
    record.connection = nullptr;
    record.connected = false;
}

namespace {

TODBC_Array BuildResult(TODBC& record) {
    if (record.fields.empty()) return TODBC_Array();
    std::vector<OdbcColumn> columns;
    columns.reserve(record.fields.size());
    for (const TField_& field : record.fields)
        columns.push_back(OdbcColumn{field.name, field.kind, field.sqlType});
    std::vector<OdbcRow> rows;
    while (record.fetchStatus != -1) {
        OdbcRow row;
        row.reserve(record.fields.size());
        for (size_t i = 0; i < record.fields.size(); ++i) row.push_back(OdbcColumnValue(record, i));
        rows.push_back(std::move(row));
        OdbcFetchNext(record);
    }
    return TODBC_Array(std::move(columns), std::move(rows));
}

}  // namespace

TODBC_Array OdbcQuery(TODBC& record, std::string_view sqlText) {
    record.fields.clear();
    // The driver manager is loaded at the first query, not at start-up, so
    // that scripts that never query run where ODBC is not installed.
    OdbcInit(record);
    record.codec = OdbcTextCodec::FromEnvironment();
    try {
        OdbcConnect(record);
        OdbcRunStatement(record, sqlText);
        TODBC_Array result = BuildResult(record);
        OdbcFreeStatement(record);
        OdbcDisconnect(record);
        return result;
    } catch (...) {
        // Running out of memory on a huge result must not leave the
        // statement and the connection open.
        OdbcFreeStatement(record);
        OdbcDisconnect(record);
        throw;
    }
}
