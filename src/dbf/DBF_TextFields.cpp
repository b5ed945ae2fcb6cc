// Field conversions of the text layout (every field stored as text).
#include <algorithm>
#include <cmath>

#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "dbf/DBF_Text.h"
#include "values/oledate.h"

namespace {

// A piece of a YYYYMMDD text as an integer; false when it is not one.
bool DatePiece(const std::string& text, size_t start, size_t length, int& out) {
    int64_t value = 0;
    if (start >= text.size() || !ParseIntText(TrimText(text.substr(start, length)), value)) return false;
    if (value < -100000 || value > 100000) return false;
    out = int(value);
    return true;
}

std::string DateDigits(double oleDate) {
    const DateParts parts = PartsFromOleDate(oleDate);
    return ZeroPad(4, parts.year) + ZeroPad(2, parts.month) + ZeroPad(2, parts.day);
}

[[noreturn]] void ConversionError(const TDBF_Field& field, const std::string& what) {
    throw TDBFError("Conversion error in field " + field.Name + ": " + what);
}

}  // namespace

Variant TDBF_Data::GetTextField(const TDBF_Field& field) {
    std::string text = FieldText(field);
    switch (field.Type) {
        case 'M': {
            // A blank memo field refers to no memo.
            const std::string trimmed = TrimText(text);
            if (trimmed.empty()) return Variant::FromStr("");
            int64_t block = 0;
            if (!ParseIntText(trimmed, block) || block < 0 || block > 0xFFFFFFFFll) block = 0;
            return Variant::FromStr(FromStored(MemoRead(uint32_t(block))));
        }
        case 'D': {
            // Missing pieces default to 1900-01-01, so a blank date reads as
            // that day; an impossible date is an error.
            int year = 1900, month = 1, day = 1;
            if (!DatePiece(text, 0, 4, year)) year = 1900;
            if (!DatePiece(text, 4, 2, month)) month = 1;
            if (!DatePiece(text, 6, 2, day)) day = 1;
            if (!IsValidDate(year, month, day)) ConversionError(field, "\"" + text + "\" is not a date");
            DateParts parts;
            parts.year = year, parts.month = month, parts.day = day;
            return Variant::FromDate(OleDateFromParts(parts));
        }
        case 'L': return Variant::FromBool(IsTrueText(text));
        case 'N': return Variant::FromDouble(double(ParseFloatDot(TrimText(text))));
        default: return Variant::FromStr(FromStored(text));
    }
}

// Step 1 of a text-layout write: the value's text by its kind.
std::string TDBF_Data::TextFieldValue(const TDBF_Field& field, const Variant& value) const {
    switch (value.Kind()) {
        case VarKind::String: return value.StrValue();
        case VarKind::Bool: return value.BoolValue() ? "T" : "F";
        case VarKind::Date: return DateDigits(value.DateValue());
        default:
            if (value.IsIntegerKind()) return value.ToText();
            if (value.IsFloatKind()) {
                std::string text = value.ToText();
                // A float field holds a number other dBase programs must
                // parse: its decimal separator is the point.
                if (field.Type == 'F') std::replace(text.begin(), text.end(), ',', '.');
                return text;
            }
            return std::string(field.Length, ' ');
    }
}

void TDBF_Data::SetTextField(const TDBF_Field& field, const Variant& value) {
    std::string text = TextFieldValue(field, value);
    // An empty value clears a memo rather than storing a memo of blanks.
    if (field.Type == 'M' && (value.IsEmpty() || value.IsNull())) text.clear();
    switch (field.Type) {
        case 'D': {
            int year = 0, month = 0, day = 0;
            if (!DatePiece(text, 0, 4, year) || !DatePiece(text, 4, 2, month) || !DatePiece(text, 6, 2, day) ||
                !IsValidDate(year, month, day))
                ConversionError(field, "\"" + text + "\" is not a date");
            text = ZeroPad(4, year) + ZeroPad(2, month) + ZeroPad(2, day);
            break;
        }
        case 'L': text = IsTrueText(text) ? "T" : "F"; break;
        case 'N': {
            const long double number = ParseFloatDot(TrimText(text));
            if (!std::isfinite(number)) ConversionError(field, "\"" + text + "\" is not a number");
            const int decimals = field.Decimals;
            text = decimals == 0 ? FormatFixed(field.Length, 0, number)
                                 : FormatFixed(int(field.Length) - decimals - 1, decimals, number);
            // A number cut to the field would be a different number.
            if (text.size() > field.Length)
                ConversionError(field, "the number " + TrimText(text) + " does not fit in " +
                                           std::to_string(field.Length) + " characters");
            break;
        }
        default: break;
    }
    const std::string current = FieldText(field);
    uint32_t oldBlock = 0;
    if (field.Type == 'M') {
        int64_t block = 0;
        if (ParseIntText(TrimText(current), block) && block > 0 && block <= 0xFFFFFFFFll) oldBlock = uint32_t(block);
    }
    log_.AddPending(recNo_, "Edit " + field.Name + "{[" + TrimText(text) + "]} => {[" + TrimText(current) + "]}");
    text = ToStored(text);
    const size_t width = field.Size;
    if (field.Type == 'M') {
        const uint32_t block = text.empty() ? 0 : MemoWrite(oldBlock, text);
        SetMemoBlock(int(&field - Fields.Items().data()), block);
        return;
    }
    if (field.Type == 'N') {
        if (text.size() < width) text.insert(0, width - text.size(), ' ');
    } else if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    PutFieldBytes(field, text);
}
