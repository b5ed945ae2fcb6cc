// One statement on the open connection: prepare and execute, describe the
// result's columns, fetch rows and read them column by column with
// SQLGetData into per-column buffers that are reused for every row.
#include <algorithm>
#include <cstring>

#include "odbc/ODBC_cmd.h"
#include "odbc/odbcsqldyn.h"

namespace {

constexpr SQLSMALLINT kShortNameSize = 40;
constexpr SQLSMALLINT kLongNameRoom = 1024;
constexpr int kMaxNameLength = 32767;
// Piece size for long data; an even number so that UTF-16 pieces never
// split a code unit.
constexpr SQLLEN kLongDataChunk = 64 * 1024;

bool Failed(SQLRETURN rc) { return rc == SQL_ERROR || rc == SQL_INVALID_HANDLE; }

SQLHSTMT CurrentHandle(const TODBC& record) {
    int32_t index = record.currentStatement;
    if (index < 0 || size_t(index) >= record.statements.size()) return SQL_NULL_HANDLE;
    return record.statements[size_t(index)].handle;
}

bool HasCurrentStatement(const TODBC& record) {
    return record.currentStatement >= 0 && size_t(record.currentStatement) < record.statements.size();
}

SQLRETURN Store(TODBC& record, SQLRETURN rc) {
    record.lastReturnCode = rc;
    return rc;
}

// ---- describing the columns ----

// Some drivers report the cut length rather than the full one, so the
// first attempt leaves generous room and a second one takes the length
// that the first reported.
std::string LongColumnName(TODBC& record, SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT length) {
    // The buffer length is a SQLSMALLINT too, terminator included.
    auto fitting = [](int wanted) { return SQLSMALLINT(std::clamp(wanted, 1, kMaxNameLength - 1)); };
    SQLSMALLINT room = fitting(std::max<int>(length, kLongNameRoom));
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::vector<char> name(size_t(room) + 1, '\0');
        SQLSMALLINT actual = 0;
        SQLRETURN rc = Store(record, OdbcBinding().SQLColAttribute(statement, column, SQL_DESC_NAME, name.data(),
                                                                   SQLSMALLINT(name.size()), &actual, nullptr));
        bool cut = actual > room && fitting(actual) > room;
        if (!cut || Failed(rc) || attempt == 1)
            return std::string(name.data(), strnlen(name.data(), size_t(room)));
        room = fitting(actual);
    }
    return std::string();
}

TField_ DescribeColumn(TODBC& record, SQLHSTMT statement, SQLUSMALLINT column) {
    SQLCHAR name[kShortNameSize + 1] = {};
    SQLSMALLINT nameLength = 0, dataType = 0, digits = 0, nullable = 0;
    SQLULEN columnSize = 0;
    Store(record, OdbcBinding().SQLDescribeCol(statement, column, name, kShortNameSize + 1, &nameLength,
                                               &dataType, &columnSize, &digits, &nullable));
    nameLength = std::max<SQLSMALLINT>(nameLength, 0);
    const char* shortName = reinterpret_cast<const char*>(name);
    std::string driverName(shortName, strnlen(shortName, size_t(std::min(nameLength, kShortNameSize))));
    // A name of exactly 40 characters may have been cut as well: ask again
    // with room for the whole name whenever the short buffer was filled.
    if (nameLength >= kShortNameSize) {
        std::string longName = LongColumnName(record, statement, column, nameLength);
        if (longName.size() > driverName.size()) driverName = std::move(longName);
    }
    OdbcFieldShape shape = MapSqlType(dataType, columnSize);
    return TField_(shape.kind, dataType, record.codec.FromDriver(driverName), column, shape.size);
}

void DescribeColumns(TODBC& record, SQLHSTMT statement) {
    record.fields.clear();
    SQLSMALLINT count = 0;
    Store(record, OdbcBinding().SQLNumResultCols(statement, &count));
    for (int column = 1; column <= count; ++column)
        record.fields.push_back(DescribeColumn(record, statement, SQLUSMALLINT(column)));
}

// ---- reading one row ----

SQLRETURN GetData(TODBC& record, const TField_& field, SQLSMALLINT targetType, void* target,
                  SQLLEN length, SQLLEN& indicator) {
    indicator = 0;
    return Store(record, OdbcBinding().SQLGetData(CurrentHandle(record), SQLUSMALLINT(field.column),
                                                  targetType, target, length, &indicator));
}

template <typename Structure, typename Convert>
void ReadDate(TODBC& record, TField_& field, SQLSMALLINT targetType, Convert convert) {
    Structure value{};
    SQLLEN indicator = 0;
    SQLRETURN rc = GetData(record, field, targetType, &value, sizeof value, indicator);
    if (Failed(rc) || rc == SQL_NO_DATA || indicator == SQL_NULL_DATA) {
        field.null = true;
        return;
    }
    try {
        double oleDate = convert(value);
        std::memcpy(field.buffer.data(), &oleDate, sizeof oleDate);
    } catch (const std::invalid_argument&) {
        field.badDate = true;
    }
}

// Long data arrives in pieces; the whole value is gathered in the field.
// A value whose length the driver does not know (SQL_NO_TOTAL) is read the
// same way. Wide pieces end in a UTF-16 terminator that is not data.
void ReadLongData(TODBC& record, TField_& field, SQLSMALLINT targetType) {
    field.longData.clear();
    const SQLLEN terminator = targetType == SQL_C_WCHAR ? 2 : 0;
    uint8_t probe[4] = {};
    SQLLEN indicator = 0;
    SQLRETURN rc = GetData(record, field, targetType, probe, 0, indicator);
    if (Failed(rc) || indicator == SQL_NULL_DATA) {
        field.null = true;
        return;
    }
    // A told length sizes the piece, so small values stay cheap.
    SQLLEN pieceSize = indicator >= 0 ? std::clamp<SQLLEN>(indicator, 16, kLongDataChunk) : kLongDataChunk;
    std::vector<uint8_t> chunk(size_t(pieceSize + terminator));
    for (;;) {
        rc = GetData(record, field, targetType, chunk.data(), SQLLEN(chunk.size()), indicator);
        if (Failed(rc) || rc == SQL_NO_DATA) break;
        SQLLEN room = SQLLEN(chunk.size()) - terminator;
        SQLLEN bytes = (indicator == SQL_NO_TOTAL || indicator > room) ? room : std::max<SQLLEN>(indicator, 0);
        field.longData.append(reinterpret_cast<const char*>(chunk.data()), size_t(bytes));
        // A piece that brought nothing would repeat for ever.
        if (rc != SQL_SUCCESS_WITH_INFO || bytes == 0) break;
    }
}

void ReadIntoBuffer(TODBC& record, TField_& field, SQLSMALLINT targetType, SQLLEN length) {
    SQLLEN indicator = 0;
    SQLRETURN rc = GetData(record, field, targetType, field.buffer.data(), length, indicator);
    // A failed read shows as an empty cell, never as the previous row's value.
    if (Failed(rc) || rc == SQL_NO_DATA || indicator == SQL_NULL_DATA) field.null = true;
}

void ReadField(TODBC& record, TField_& field) {
    field.null = false;
    field.badDate = false;
    // Clears what a short value would not overwrite (the second byte of a
    // bit, a terminator a driver forgot).
    std::fill_n(field.buffer.begin(), std::min<size_t>(field.buffer.size(), 16), uint8_t(0));
    switch (field.kind) {
        case FieldKind::String:
        case FieldKind::FixedChar:
        case FieldKind::Guid: ReadIntoBuffer(record, field, SQL_C_CHAR, field.bufferLength); break;
        case FieldKind::WideString:
        case FieldKind::FixedWideChar: ReadIntoBuffer(record, field, SQL_C_WCHAR, field.bufferLength); break;
        case FieldKind::SmallInt: ReadIntoBuffer(record, field, SQL_C_SSHORT, 2); break;
        case FieldKind::Integer:
        case FieldKind::Word: ReadIntoBuffer(record, field, SQL_C_SLONG, 4); break;
        case FieldKind::Boolean: ReadIntoBuffer(record, field, SQL_C_BIT, 2); break;
        case FieldKind::Float: ReadIntoBuffer(record, field, SQL_C_DOUBLE, 8); break;
        case FieldKind::LargeInt: ReadIntoBuffer(record, field, SQL_C_SBIGINT, 8); break;
        case FieldKind::Date:
            ReadDate<SQL_DATE_STRUCT>(record, field, SQL_C_TYPE_DATE, DateStructToDateTime);
            break;
        case FieldKind::Time:
            ReadDate<SQL_TIME_STRUCT>(record, field, SQL_C_TYPE_TIME, TimeStructToDateTime);
            break;
        case FieldKind::DateTime:
            ReadDate<SQL_TIMESTAMP_STRUCT>(record, field, SQL_C_TYPE_TIMESTAMP, TimestampStructToDateTime);
            break;
        // Binary columns are read whole as well: some drivers report a
        // size smaller than the values they hold.
        case FieldKind::Bytes:
        case FieldKind::VarBytes:
        case FieldKind::Blob:
        case FieldKind::Memo: ReadLongData(record, field, SQL_C_BINARY); break;
        case FieldKind::WideMemo: ReadLongData(record, field, SQL_C_WCHAR); break;
        default: break;
    }
}

void ReadRow(TODBC& record) {
    for (TField_& field : record.fields) ReadField(record, field);
}

// ---- fetching ----

// A cursor that keeps failing would otherwise yield rows for ever: the
// second failure in a row ends the result.
bool CountFetch(TODBC& record, SQLRETURN rc) {
    Store(record, rc);
    record.failedFetches = Failed(rc) ? record.failedFetches + 1 : 0;
    return rc != SQL_NO_DATA && record.failedFetches < 2;
}

// A row that comes with a warning is still a row: it is read, not skipped.
bool FetchStep(TODBC& record, SQLSMALLINT orientation) {
    if (!HasCurrentStatement(record)) return false;
    return CountFetch(record, OdbcBinding().SQLFetchScroll(CurrentHandle(record), orientation, 0));
}

// SQLFetch makes the first row current on every cursor; SQL_FETCH_FIRST
// then repositions a scrollable one and fails harmlessly on a
// forward-only one, leaving SQLFetch's row current.
bool FetchFirst(TODBC& record) {
    if (!HasCurrentStatement(record)) return false;
    if (!CountFetch(record, OdbcBinding().SQLFetch(CurrentHandle(record)))) return false;
    return FetchStep(record, SQL_FETCH_FIRST);
}

void FinishFetch(TODBC& record, bool found) {
    if (found)
        ReadRow(record);
    else
        record.fetchStatus = -1;
}

}  // namespace

int32_t OdbcRunStatement(TODBC& record, std::string_view sqlText) {
    if (!record.connected) return -1;
    std::string_view text = TrimTrailingControlAndBlank(sqlText);
    if (text.empty()) return -1;
    const OdbcEntryTable& odbc = OdbcBinding();
    record.statements.push_back(TSTMTRec{nullptr, record.codec.ToDriver(text)});
    int32_t index = int32_t(record.statements.size()) - 1;
    TSTMTRec& statement = record.statements.back();
    SQLHANDLE handle = SQL_NULL_HANDLE;
    Store(record, odbc.SQLAllocHandle(SQL_HANDLE_STMT, record.connection, &handle));
    statement.handle = handle;
    // Return codes are not tested: a failing statement shows as a result
    // without columns, or with columns and no rows.
    Store(record, odbc.SQLPrepare(handle, reinterpret_cast<SQLCHAR*>(statement.text.data()),
                                  SQLINTEGER(statement.text.size())));
    Store(record, odbc.SQLExecute(handle));
    DescribeColumns(record, handle);
    record.currentStatement = index;
    record.fetchStatus = 0;
    record.failedFetches = 0;
    FinishFetch(record, FetchFirst(record));
    return index;
}

void OdbcFetchNext(TODBC& record) { FinishFetch(record, FetchStep(record, SQL_FETCH_NEXT)); }

Variant OdbcColumnValue(const TODBC& record, size_t fieldIndex) {
    if (fieldIndex >= record.fields.size()) return Variant::FromStr("");
    return FieldValue(record.fields[fieldIndex], record.codec);
}

void OdbcFreeStatement(TODBC& record) {
    if (HasCurrentStatement(record)) {
        auto position = record.statements.begin() + record.currentStatement;
        if (position->handle != nullptr) Store(record, OdbcBinding().SQLFreeHandle(SQL_HANDLE_STMT, position->handle));
        record.statements.erase(position);
    }
    record.currentStatement = -1;
    record.fetchStatus = 0;
    record.failedFetches = 0;
}
