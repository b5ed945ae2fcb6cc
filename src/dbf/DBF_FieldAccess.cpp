// Field lookup, the bytes of a field inside the record buffer, blank
// records and the code page of stored texts.
#include <algorithm>
#include <cstring>
#include <utility>

#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "values/codepage.h"
#include "values/oledate.h"

int TDBF_Data::ResolveField(const Variant& key) {
    if (key.Kind() == VarKind::String) {
        const uint8_t index = FieldIndex(key.StrValue());
        return index == kNoField ? -1 : index;
    }
    const int64_t index = key.ToInt();
    if (index < 0 || uint64_t(index) >= Fields.Count()) return -1;
    Remember(int(index));
    return int(index);
}

// Only the index: reading fields by index is the hot path of a table walk,
// and the name is compared when a lookup by name asks for it.
void TDBF_Data::Remember(int index) { lastFieldIndex_ = uint8_t(index); }

// The part of the buffer a field occupies. A descriptor that reaches past
// the record (a header that does not match its descriptors) is cut to the
// record, so no access leaves the buffer.
const uint8_t* TDBF_Data::FieldBytes(const TDBF_Field& field, size_t& width) const {
    const size_t limit = std::min(buffer_.size(), size_t(RecordLength()));
    const size_t start = std::min<size_t>(field.Offset, limit);
    width = std::min<size_t>(field.Size, limit - start);
    return buffer_.data() + start;
}

uint8_t* TDBF_Data::FieldBytes(const TDBF_Field& field, size_t& width) {
    return const_cast<uint8_t*>(std::as_const(*this).FieldBytes(field, width));
}

std::string TDBF_Data::FieldText(const TDBF_Field& field) const {
    size_t width = 0;
    const uint8_t* bytes = FieldBytes(field, width);
    const size_t length = std::find(bytes, bytes + width, 0) - bytes;
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

std::string TDBF_Data::BinaryRaw(const TDBF_Field& field) const {
    size_t width = 0;
    const uint8_t* bytes = FieldBytes(field, width);
    std::string raw(field.Size, '\0');
    std::memcpy(raw.data(), bytes, width);
    return raw;
}

void TDBF_Data::PutFieldBytes(const TDBF_Field& field, std::string_view bytes) {
    size_t width = 0;
    uint8_t* target = FieldBytes(field, width);
    std::memcpy(target, bytes.data(), std::min(width, bytes.size()));
}

std::string TDBF_Data::ToStored(std::string_view text) const {
    if (CodePage == 1) return ToDosText(text);
    if (CodePage == 2) return FromDosText(text);
    return std::string(text);
}

std::string TDBF_Data::FromStored(std::string_view text) const {
    if (CodePage == 1) return FromDosText(text);
    if (CodePage == 2) return ToDosText(text);
    return std::string(text);
}

Variant TDBF_Data::GetField(const Variant& key) {
    if (buffer_.empty()) return Variant::FromStr("");
    const int index = ResolveField(key);
    if (index < 0) return Variant::FromStr("");
    const TDBF_Field& field = Fields[size_t(index)];
    return binary_ ? GetBinaryField(field) : GetTextField(field);
}

void TDBF_Data::SetField(const Variant& key, const Variant& value) {
    if (!writable_ || buffer_.empty()) return;
    const int index = ResolveField(key);
    if (index < 0) return;
    const TDBF_Field& field = Fields[size_t(index)];
    if (binary_) SetBinaryField(field, value);
    else SetTextField(field, value);
}

// Today as the eight digits YYYYMMDD of a text-layout date.
static std::string TodayDigits() {
    const DateParts today = PartsFromOleDate(OleNow());
    return ZeroPad(4, today.year) + ZeroPad(2, today.month) + ZeroPad(2, today.day);
}

void TDBF_Data::BlankRecord() {
    if (buffer_.empty()) return;
    std::fill(buffer_.begin(), buffer_.end(), ' ');
    for (const TDBF_Field& field : Fields.Items()) {
        if (binary_) {
            if (field.Type != 'C') PutFieldBytes(field, std::string(field.Size, '\0'));
            continue;
        }
        switch (field.Type) {
            case 'D': PutFieldBytes(field, TodayDigits()); break;
            case 'L': PutFieldBytes(field, "F"); break;
            // The integer part "0" right-aligned; the decimals fall off the
            // cut to the field length.
            case 'N': PutFieldBytes(field, FormatFixed(field.Length, field.Decimals, 0).substr(0, field.Length)); break;
            default: break;
        }
    }
}

bool TDBF_Data::FieldIsBlank(int index) const {
    if (buffer_.empty() || index < 0 || size_t(index) >= Fields.Count()) return false;
    const TDBF_Field& field = Fields[size_t(index)];
    size_t width = 0;
    const uint8_t* bytes = FieldBytes(field, width);
    const auto isBlankByte = [](uint8_t b) { return b == ' ' || b == 0; };
    if (!binary_) return std::all_of(bytes, bytes + width, isBlankByte);
    // In the binary layout zero is a real number, time or flag; only a day
    // number of 0 (no date) and empty texts are "no value".
    switch (field.Type) {
        case 'D': case 'C': case 'M': case 'P': case 'B': return std::all_of(bytes, bytes + width, isBlankByte);
        default: return false;
    }
}

void TDBF_Data::SetFieldBlank(int index) {
    if (!writable_ || buffer_.empty() || index < 0 || size_t(index) >= Fields.Count()) return;
    const TDBF_Field& field = Fields[size_t(index)];
    const bool spaces = !binary_ || field.Type == 'C';
    PutFieldBytes(field, std::string(field.Size, spaces ? ' ' : '\0'));
}

uint32_t TDBF_Data::MemoBlockOf(int index) const {
    if (buffer_.empty() || index < 0 || size_t(index) >= Fields.Count()) return 0;
    const TDBF_Field& field = Fields[size_t(index)];
    if (binary_) return LoadU32(reinterpret_cast<const uint8_t*>(BinaryRaw(field).data()));
    int64_t block = 0;
    std::string text = FieldText(field);
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return ParseIntText(text, block) && block > 0 && block <= 0xFFFFFFFFll ? uint32_t(block) : 0;
}

void TDBF_Data::SetMemoBlock(int index, uint32_t block) {
    if (!writable_ || buffer_.empty() || index < 0 || size_t(index) >= Fields.Count()) return;
    const TDBF_Field& field = Fields[size_t(index)];
    if (binary_) {
        std::string raw(field.Size, '\0');
        if (raw.size() >= 4) StoreU32(reinterpret_cast<uint8_t*>(raw.data()), block);
        PutFieldBytes(field, raw);
        return;
    }
    std::string text = block == 0 ? "" : std::to_string(block);
    if (text.size() > field.Size) throw TDBFError("Memo block " + text + " does not fit field " + field.Name);
    PutFieldBytes(field, std::string(field.Size - text.size(), ' ') + text);
}
