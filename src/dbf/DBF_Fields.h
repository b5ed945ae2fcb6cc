// Field entries of a table and their place in the record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDBF_Field {
    std::string Name;        // at most 10 characters
    char Type = 0;           // type letter
    uint16_t Offset = 0;     // offset in the record (byte 0 is the deletion flag)
    uint16_t Size = 0;       // width in the record (binary size in the binary layout)
    uint8_t Length = 0;      // declared length byte
    uint8_t Decimals = 0;    // declared decimal count

    bool operator==(const TDBF_Field&) const = default;
};

// Binary-layout width of a field of this type and declared length.
uint16_t BinarySizeOf(char type, uint8_t length, uint8_t decimals);

class TDBF_Fields {
public:
    // Adds an entry and computes its offset and size for the layout. A
    // length of 0 takes the type's default (and, for 'N' and 'F', the
    // default decimal count), so descriptors written later carry it.
    // Lengths above 255 are kept in `DeclaredLengths` for CreateTable to
    // reject; the entry's length byte then holds the low byte.
    void Add(const std::string& name, char type, unsigned length, unsigned decimals, bool binary);
    // Adds an entry exactly as a stored descriptor declares it (no
    // defaults): the record layout of an existing file must not change.
    void AddStored(const std::string& name, char type, uint8_t length, uint8_t decimals, bool binary);
    // Recomputes offsets and sizes of every entry for a layout.
    void Layout(bool binary);
    void Clear();

    size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const TDBF_Field& operator[](size_t index) const { return items_[index]; }
    const std::vector<TDBF_Field>& Items() const { return items_; }
    // 1 + the sum of the field widths.
    uint32_t RecordLength() const;
    // The longest declared length given to Add (0 when none).
    unsigned LongestDeclaredLength() const { return longestDeclared_; }

private:
    static void Place(TDBF_Field& field, const TDBF_Field* previous, bool binary);
    std::vector<TDBF_Field> items_;
    unsigned longestDeclared_ = 0;
};
