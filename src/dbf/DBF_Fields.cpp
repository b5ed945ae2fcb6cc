#include "dbf/DBF_Fields.h"

#include <algorithm>

#include "dbf/DBF_Floats.h"

namespace {

uint16_t IntegerSizeForLength(unsigned length) {
    if (length <= 2) return 1;
    if (length <= 4) return 2;
    if (length <= 7) return 3;
    if (length <= 9) return 4;
    if (length <= 12) return 5;
    if (length <= 14) return 6;
    if (length <= 16) return 7;
    return 8;
}

struct DefaultShape {
    unsigned length, decimals;
};

DefaultShape DefaultFor(char type) {
    switch (type) {
        case 'B': case 'C': case 'M': case 'P': return {10, 0};
        case 'D': case 'd': return {8, 0};
        case 'F': return {15, 4};
        case 'I': return {10, 0};
        case 'L': return {1, 0};
        case 'N': return {11, 1};
        case 'T': return {4, 0};
        default: return {0, 0};
    }
}

}  // namespace

uint16_t BinarySizeOf(char type, uint8_t length, uint8_t decimals) {
    switch (type) {
        case 'N': return decimals > 0 ? uint16_t(FloatSizeForLength(length)) : IntegerSizeForLength(length);
        case 'F': return uint16_t(FloatSizeForLength(length));
        case 'I': return IntegerSizeForLength(length);
        case 'D': case 'T': case 'M': case 'B': return 4;
        case 'd': return 8;
        case 'L': return 1;
        case 'P': return uint16_t(length + 1);
        default: return length;  // 'C' and unknown types: the raw bytes
    }
}

void TDBF_Fields::Add(const std::string& name, char type, unsigned length, unsigned decimals, bool binary) {
    if (length == 0) {
        const DefaultShape shape = DefaultFor(type);
        length = shape.length;
        if (shape.decimals > 0) decimals = shape.decimals;
    }
    longestDeclared_ = std::max(longestDeclared_, length);
    TDBF_Field field;
    field.Name = name.substr(0, 10);
    field.Type = type;
    field.Length = uint8_t(length & 0xFF);
    field.Decimals = uint8_t(decimals & 0xFF);
    Place(field, items_.empty() ? nullptr : &items_.back(), binary);
    items_.push_back(field);
}

void TDBF_Fields::Place(TDBF_Field& field, const TDBF_Field* previous, bool binary) {
    field.Size = binary ? BinarySizeOf(field.Type, field.Length, field.Decimals) : field.Length;
    field.Offset = previous ? uint16_t(previous->Offset + previous->Size) : 1;
}

void TDBF_Fields::AddStored(const std::string& name, char type, uint8_t length, uint8_t decimals, bool binary) {
    TDBF_Field field;
    field.Name = name.substr(0, 10);
    field.Type = type;
    field.Length = length;
    field.Decimals = decimals;
    Place(field, items_.empty() ? nullptr : &items_.back(), binary);
    items_.push_back(field);
}

void TDBF_Fields::Layout(bool binary) {
    for (size_t i = 0; i < items_.size(); ++i) Place(items_[i], i ? &items_[i - 1] : nullptr, binary);
}

void TDBF_Fields::Clear() {
    items_.clear();
    longestDeclared_ = 0;
}

uint32_t TDBF_Fields::RecordLength() const {
    uint32_t length = 1;
    for (const TDBF_Field& field : items_) length += field.Size;
    return length;
}
