#include "odbc/odbcFields.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstring>

#include "odbc/odbcText.h"

namespace {

const char* const kKindNames[] = {
    "Unknown", "String", "SmallInt", "Integer", "Word", "Boolean", "Float", "Currency", "BCD",
    "Date", "Time", "DateTime", "Bytes", "VarBytes", "AutoInc", "Blob", "Memo", "Graphic",
    "FmtMemo", "ParadoxOle", "dBaseOle", "TypedBinary", "Cursor", "FixedChar", "WideString",
    "LargeInt", "ADT", "Array", "Reference", "DataSet", "HugeBlob", "HugeClob", "Variant",
    "Interface", "Dispatch", "Guid", "SQLTimeStamp", "FMTBcdField", "FixedWideChar", "WideMemo",
};
static_assert(std::size(kKindNames) == size_t(FieldKind::WideMemo) + 1);

// A reported size of 0 means "unknown" for variable-length types; give
// such a column the largest buffer rather than a single character.
int32_t TextSize(uint64_t columnSize, int32_t cap) {
    if (columnSize == 0 || columnSize >= uint64_t(cap)) return cap;
    return int32_t(columnSize) + 1;
}

int32_t PlainSize(uint64_t columnSize) {
    return int32_t(std::min<uint64_t>(columnSize, kMaxSizedKindSize));
}

template <typename T>
T ReadAs(const std::vector<uint8_t>& buffer) {
    T value{};
    std::memcpy(&value, buffer.data(), std::min(sizeof(T), buffer.size()));
    return value;
}

std::string_view NarrowText(const std::vector<uint8_t>& buffer) {
    const char* begin = reinterpret_cast<const char*>(buffer.data());
    size_t length = std::find(buffer.begin(), buffer.end(), uint8_t(0)) - buffer.begin();
    return std::string_view(begin, length);
}

std::u16string WideText(const std::vector<uint8_t>& buffer) {
    std::u16string text;
    for (size_t i = 0; i + 1 < buffer.size(); i += 2) {
        char16_t unit;
        std::memcpy(&unit, &buffer[i], 2);
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

// Trimming works on the converted text: blanks and control characters
// have the same codes in UTF-8, UTF-16 and Windows-1251.
Variant TrimmedString(std::string text) {
    return Variant::FromStr(std::string(TrimControlAndBlank(text)));
}

}  // namespace

const char* FieldKindName(FieldKind kind) {
    size_t index = size_t(kind);
    return index < std::size(kKindNames) ? kKindNames[index] : "Unknown";
}

OdbcFieldShape MapSqlType(int16_t sqlType, uint64_t columnSize) {
    switch (sqlType) {
        case SQL_CHAR: return {FieldKind::FixedChar, TextSize(columnSize, kMaxTextSize)};
        case SQL_VARCHAR: return {FieldKind::String, TextSize(columnSize, kMaxTextSize)};
        case SQL_NUMERIC:
        case SQL_DECIMAL:
        case SQL_FLOAT:
        case SQL_REAL:
        case SQL_DOUBLE: return {FieldKind::Float, 0};
        case SQL_INTEGER: return {FieldKind::Integer, 0};
        case SQL_SMALLINT:
        case SQL_TINYINT: return {FieldKind::SmallInt, 0};
        case SQL_TYPE_DATE: return {FieldKind::Date, 0};
        case SQL_TYPE_TIME: return {FieldKind::Time, 0};
        case SQL_TYPE_TIMESTAMP: return {FieldKind::DateTime, 0};
        case SQL_LONGVARCHAR: return {FieldKind::Memo, 0};
        case SQL_BINARY: return {FieldKind::Bytes, PlainSize(columnSize)};
        case SQL_VARBINARY: return {FieldKind::VarBytes, PlainSize(columnSize)};
        case SQL_LONGVARBINARY: return {FieldKind::Blob, 0};
        case SQL_BIGINT: return {FieldKind::LargeInt, 0};
        case SQL_BIT: return {FieldKind::Boolean, 0};
        case SQL_WCHAR:
        case SQL_WVARCHAR: return {FieldKind::WideString, TextSize(columnSize, kMaxSizedKindSize)};
        case SQL_WLONGVARCHAR: return {FieldKind::WideMemo, 0};
        case SQL_GUID: return {FieldKind::Guid, TextSize(columnSize, kMaxSizedKindSize)};
        default: return {FieldKind::Unknown, PlainSize(columnSize)};
    }
}

int32_t BufferLengthFor(FieldKind kind, int32_t size) {
    switch (kind) {
        case FieldKind::String:
        case FieldKind::FixedChar:
        case FieldKind::Guid: return size * kBytesPerNarrowChar + 1;
        // Two UTF-16 units per character leave room for surrogate pairs.
        case FieldKind::WideString:
        case FieldKind::FixedWideChar: return (size * 2 + 1) * 2;
        case FieldKind::SmallInt:
        case FieldKind::Integer:
        case FieldKind::Word: return 4;
        case FieldKind::Boolean: return 2;
        case FieldKind::Float:
        case FieldKind::Currency:
        case FieldKind::BCD:
        case FieldKind::LargeInt:
        case FieldKind::Date:
        case FieldKind::Time:
        case FieldKind::DateTime: return 8;
        case FieldKind::Blob:
        case FieldKind::Memo:
        case FieldKind::Graphic:
        case FieldKind::FmtMemo:
        case FieldKind::ParadoxOle:
        case FieldKind::dBaseOle:
        case FieldKind::TypedBinary:
        case FieldKind::HugeBlob:
        case FieldKind::HugeClob:
        case FieldKind::WideMemo: return 16;
        default: return 10;
    }
}

TField_::TField_(FieldKind kind, int16_t sqlType, std::string name, int32_t column, int32_t size)
    : kind(kind), sqlType(sqlType), name(std::move(name)), column(column), size(size),
      bufferLength(BufferLengthFor(kind, size)), buffer(size_t(bufferLength), 0) {}

Variant FieldValue(const TField_& field, const OdbcTextCodec& codec) {
    if (field.null) return Variant::FromStr("");
    const std::vector<uint8_t>& buffer = field.buffer;
    switch (field.kind) {
        case FieldKind::String:
        case FieldKind::FixedChar:
        case FieldKind::Guid: return TrimmedString(codec.FromDriver(NarrowText(buffer)));
        case FieldKind::WideString:
        case FieldKind::FixedWideChar: return TrimmedString(codec.FromDriverWide(WideText(buffer)));
        case FieldKind::SmallInt: return Variant::FromInt(ReadAs<int16_t>(buffer), VarKind::I2);
        case FieldKind::Integer:
        case FieldKind::Word: return Variant::FromInt(ReadAs<int32_t>(buffer), VarKind::I4);
        case FieldKind::Boolean: return Variant::FromBool(ReadAs<uint16_t>(buffer) != 0);
        case FieldKind::Float:
        case FieldKind::Currency: return Variant::FromDouble(ReadAs<double>(buffer));
        case FieldKind::Date:
        case FieldKind::Time:
        case FieldKind::DateTime:
            if (field.badDate) return Variant::FromStr("");
            return Variant::FromDate(ReadAs<double>(buffer));
        case FieldKind::LargeInt: return Variant::FromInt(ReadAs<int64_t>(buffer), VarKind::I8);
        case FieldKind::Memo: return Variant::FromStr(codec.FromDriver(field.longData));
        case FieldKind::WideMemo: {
            std::u16string units(field.longData.size() / 2, u'\0');
            std::memcpy(units.data(), field.longData.data(), units.size() * 2);
            return Variant::FromStr(codec.FromDriverWide(units));
        }
        // Binary data is kept byte for byte: converting it as text would
        // corrupt it.
        case FieldKind::Blob:
        case FieldKind::Bytes:
        case FieldKind::VarBytes: return Variant::FromStr(field.longData);
        default: return Variant::FromStr("");
    }
}
