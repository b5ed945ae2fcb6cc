// Field conversions of the binary layout: numbers, dates and memo
// references as little-endian binary values.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "dbf/DBF_Floats.h"
#include "dbf/DBF_Text.h"
#include "values/oledate.h"

namespace {

// 'D' stores a day number counting 0001-01-01 as day 1; OLE day 0 is
// 1899-12-30, day number 693594.
constexpr int64_t kOleDayZero = 693594;
constexpr double kMillisecondsPerDay = 86400000.0;

bool IsFloatField(const TDBF_Field& field) {
    return field.Type == 'F' || (field.Type == 'N' && field.Decimals > 0);
}

bool IsIntegerField(const TDBF_Field& field) {
    return field.Type == 'I' || (field.Type == 'N' && field.Decimals == 0);
}

const uint8_t* Bytes(const std::string& raw) { return reinterpret_cast<const uint8_t*>(raw.data()); }
uint8_t* Bytes(std::string& raw) { return reinterpret_cast<uint8_t*>(raw.data()); }

double FloatOf(const Variant& value) {
    if (value.IsNumericKind()) return value.ToDouble();
    return double(ParseFloatDot(TrimText(value.ToText())));
}

// The whole 64-bit value is kept; a field narrower than 8 bytes stores its
// low bytes.
int64_t IntegerOf(const Variant& value) {
    if (value.IsIntegerKind()) return value.IntValue();
    if (value.IsNumericKind()) return value.ToInt();
    int64_t number = 0;
    return ParseIntText(TrimText(value.ToText()), number) ? number : 0;
}

bool TruthOf(const Variant& value) {
    if (value.Kind() == VarKind::String) return IsTrueText(value.StrValue());
    return value.ToBool();
}

// The value as a date-time: a date value itself, or its text parsed;
// nothing when the text is no date or time.
std::optional<double> DateTimeOf(const Variant& value) {
    if (value.Kind() == VarKind::Date) return value.DateValue();
    return ParseDateTimeText(TrimText(value.ToText()));
}

[[noreturn]] void ConversionError(const TDBF_Field& field, const std::string& what) {
    throw TDBFError("Conversion error in field " + field.Name + ": " + what);
}

}  // namespace

Variant TDBF_Data::GetBinaryField(const TDBF_Field& field) {
    const std::string raw = BinaryRaw(field);
    switch (field.Type) {
        case 'C': return Variant::FromStr(TrimText(FromStored(raw.substr(0, raw.find('\0')))));
        case 'P': {
            // Byte 0 is the length n; n bytes follow, each XORed with n.
            const size_t n = raw.empty() ? 0 : std::min<size_t>(uint8_t(raw[0]), raw.size() - 1);
            std::string text = raw.substr(raw.empty() ? 0 : 1, n);
            for (char& c : text) c = char(uint8_t(c) ^ uint8_t(n));
            return Variant::FromStr(TrimText(FromStored(text)));
        }
        case 'M': {
            const uint32_t block = raw.size() >= 4 ? LoadU32(Bytes(raw)) : 0;
            return Variant::FromStr(block == 0 ? "" : TrimText(FromStored(MemoRead(block))));
        }
        case 'D': {
            const uint32_t day = raw.size() >= 4 ? LoadU32(Bytes(raw)) : 0;
            if (day == 0) ConversionError(field, "no date stored");
            return Variant::FromDate(double(int64_t(day) - kOleDayZero));
        }
        case 'T': {
            const uint32_t ms = raw.size() >= 4 ? LoadU32(Bytes(raw)) : 0;
            return Variant::FromDate(ms / kMillisecondsPerDay);
        }
        case 'd': {
            double d = 0;
            if (raw.size() >= 8) std::memcpy(&d, raw.data(), 8);
            return Variant::FromDate(d);
        }
        case 'L': return Variant::FromBool(!raw.empty() && raw[0] != 0);
        case 'B': return Variant::FromStr("");
        default: break;
    }
    if (IsFloatField(field)) return Variant::FromDouble(LoadFloat(Bytes(raw), raw.size()));
    if (IsIntegerField(field)) return Variant::FromInt(int64_t(LoadLE(Bytes(raw), std::min<size_t>(raw.size(), 8))));
    return Variant::FromStr(FromStored(raw));
}

void TDBF_Data::SetBinaryField(const TDBF_Field& field, const Variant& value) {
    std::string raw(field.Size, '\0');
    switch (field.Type) {
        case 'C': {
            const std::string text = ToStored(TrimText(value.ToText()));
            std::memcpy(raw.data(), text.data(), std::min(text.size(), raw.size()));
            break;
        }
        case 'P': {
            if (raw.empty()) break;
            std::string text = ToStored(TrimText(value.ToText()));
            text.resize(std::min({text.size(), size_t(255), raw.size() - 1}));
            const uint8_t n = uint8_t(text.size());
            raw[0] = char(n);
            for (size_t i = 0; i < text.size(); ++i) raw[i + 1] = char(uint8_t(text[i]) ^ n);
            break;
        }
        case 'M': {
            const std::string text = ToStored(TrimText(value.ToText()));
            const uint32_t oldBlock = raw.size() >= 4 ? LoadU32(Bytes(BinaryRaw(field))) : 0;
            const uint32_t block = text.empty() ? 0 : MemoWrite(oldBlock, text);
            if (raw.size() >= 4) StoreU32(Bytes(raw), block);
            break;
        }
        case 'D': {
            // Unparsable texts store today, as the date field's default.
            const double date = DateTimeOf(value).value_or(OleNow());
            const double day = std::trunc(date) + double(kOleDayZero);
            if (!(day >= 1 && day <= 4294967295.0)) ConversionError(field, "date out of range");
            if (raw.size() >= 4) StoreU32(Bytes(raw), uint32_t(day));
            break;
        }
        case 'T': {
            const double moment = DateTimeOf(value).value_or(OleNow());
            const double fraction = std::fabs(moment - std::trunc(moment));
            const uint32_t ms = uint32_t(std::min(std::llround(fraction * kMillisecondsPerDay), 86399999LL));
            if (raw.size() >= 4) StoreU32(Bytes(raw), ms);
            break;
        }
        case 'd': {
            const double moment = DateTimeOf(value).value_or(OleNow());
            if (raw.size() >= 8) std::memcpy(raw.data(), &moment, 8);
            break;
        }
        case 'L': raw.assign(raw.size(), '\0'); if (!raw.empty()) raw[0] = TruthOf(value) ? 1 : 0; break;
        case 'B': break;  // the block reference of a 'B' field is always 0
        default:
            if (IsFloatField(field)) {
                StoreFloat(Bytes(raw), raw.size(), FloatOf(value));
            } else if (IsIntegerField(field)) {
                StoreLE(Bytes(raw), std::min<size_t>(raw.size(), 8), uint64_t(IntegerOf(value)));
            } else {
                const std::string text = value.ToText();
                std::memcpy(raw.data(), text.data(), std::min(text.size(), raw.size()));
            }
            break;
    }
    PutFieldBytes(field, raw);
}
