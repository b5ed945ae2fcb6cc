// Column descriptions of an ODBC result: the field kinds, the mapping from
// the SQL data types that drivers report, the per-column read buffers and
// the conversion of a buffered value into a Variant.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "values/Variant.h"

class OdbcTextCodec;

// The field kind codes; the type mapping produces only some of them, the
// rest keep their codes so that kind numbers stay stable.
enum class FieldKind : uint8_t {
    Unknown = 0, String, SmallInt, Integer, Word, Boolean, Float, Currency, BCD,
    Date, Time, DateTime, Bytes, VarBytes, AutoInc, Blob, Memo, Graphic, FmtMemo,
    ParadoxOle, dBaseOle, TypedBinary, Cursor, FixedChar, WideString, LargeInt,
    ADT, Array, Reference, DataSet, HugeBlob, HugeClob, Variant, Interface,
    Dispatch, Guid, SQLTimeStamp, FMTBcdField, FixedWideChar, WideMemo,
};

const char* FieldKindName(FieldKind kind);

// Column size arithmetic. Text kinds are capped so that one buffer stays
// small; the other sized kinds never exceed what a 16-bit size could say.
constexpr int32_t kMaxTextSize = 8191;
constexpr int32_t kMaxSizedKindSize = 65535;
// Narrow text arrives as UTF-8: up to 4 bytes per character.
constexpr int32_t kBytesPerNarrowChar = 4;

struct OdbcFieldShape {
    FieldKind kind;
    int32_t size;
};
// Kind and size for a reported SQL data type and column size.
OdbcFieldShape MapSqlType(int16_t sqlType, uint64_t columnSize);
// Length of the read buffer in bytes for a kind of the given size.
int32_t BufferLengthFor(FieldKind kind, int32_t size);


// One column description with its read buffer for the current row.
struct TField_ {
    FieldKind kind = FieldKind::Unknown;
    int16_t sqlType = 0;
    std::string name;     // Windows-1251
    int32_t column = 0;   // 1-based
    int32_t size = 0;
    int32_t bufferLength = 0;
    std::vector<uint8_t> buffer;  // the value in the form read by SQLGetData
    bool null = false;
    bool badDate = false;    // the driver's date or time structure was out of range
    std::string longData;    // the whole value of a binary or long-data cell (raw bytes)

    TField_() = default;
    TField_(FieldKind kind, int16_t sqlType, std::string name, int32_t column, int32_t size);
};
using TFields_ = std::vector<TField_>;

// The cell value of a field as read into its buffer (NULL: the empty
// string; a date that could not be converted: the empty string too).
Variant FieldValue(const TField_& field, const OdbcTextCodec& codec);
