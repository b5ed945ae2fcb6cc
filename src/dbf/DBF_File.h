// TDBF_Data: the engine of one dBase table, named by its base path: the
// data file (base + ".dbf"), an optional memo file (".dbt") and an optional
// change log (".log").
//
// Data file, all integers little-endian:
//   0      version: 0x03 text layout, 0x7F binary layout; bit 0x80 set when
//          the table has an 'M' or 'B' field (0x83, 0xFF)
//   1..3   date of last update: year mod 100, month, day
//   4..7   number of records (u32)
//   8..9   header length = 32 * (fields + 1) + 1 (u16)
//   10..11 record length = 1 + sum of field widths (u16)
//   12..30 zero
//   31     0x0A
//   32..   one 32-byte descriptor per field, then 0x0D
// Records start at the header length; byte 0 of a record is ' ' (live) or
// '*' (deleted), the fields follow without gaps. One 0x1A byte follows the
// last record.
//
// Descriptor (32 bytes): 0..10 name, NUL-terminated; 11 type letter;
// 12..15 four blanks; 16 length; 17 decimal count; 18..30 thirteen blanks;
// 31 0x0A.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/DBF_Fields.h"
#include "dbf/DBF_Log.h"
#include "dbf/DBF_Memo.h"
#include "values/Variant.h"
#include "values/unitUtils.h"

using DBFHeader = std::array<uint8_t, 32>;

class TDBF_Data {
public:
    static constexpr uint8_t kNoField = 255;

    TDBF_Data() = default;
    TDBF_Data(const std::string& base, const std::string& mode, bool readFields, bool makeBuffer, bool retry);
    ~TDBF_Data();
    TDBF_Data(const TDBF_Data&) = delete;
    TDBF_Data& operator=(const TDBF_Data&) = delete;

    // Opens the table; false when the data file is missing or cannot be
    // opened (with `retry`, after trying for up to 10 seconds).
    bool Open(const std::string& base, const std::string& mode, bool readFields = true, bool makeBuffer = true,
              bool retry = false);
    // Writes the header back (today's date, current count) when writable,
    // then closes everything. Throws TDBFError when the header cannot be
    // written; the files are closed either way.
    void Close();
    // Writes a new empty table from `Fields`.
    void CreateTable(const std::string& base, bool binary);

    uint32_t RecordCount() const;
    uint16_t HeaderLength() const;
    uint16_t RecordLength() const;
    size_t FieldCount() const { return Fields.Count(); }
    DBFHeader Header() const { return header_; }
    uint8_t FieldIndex(std::string_view name);
    std::string FieldName(int index) const;
    TDBF_Field FieldInfo(int index) const;
    bool IsOpen() const { return data_.IsOpen(); }
    bool HasMemoFile() const { return memo_.IsOpen(); }
    bool IsWritable() const { return writable_; }
    bool IsBinary() const { return binary_; }

    // Cursor.
    uint32_t RecNo() const { return recNo_; }
    // A closed table is at its end too, so that no reading loop runs.
    bool Eof() const { return !IsOpen() || recNo_ > RecordCount(); }
    void GoTo(uint32_t n);
    void GoToRead(uint32_t n);
    void First(bool read);
    void Next(bool read);
    void Prev(bool read);
    void Last(bool read);

    // Whole records (RecordLength bytes). ReadRecord reads nothing off a
    // record (false); WriteRecord writes a record or appends one at the
    // end position.
    bool ReadRecord(uint8_t* dest, bool stay);
    bool WriteRecord(const uint8_t* src, bool stay);
    void ReadCurrent(bool stay, bool blankDeleted);
    void WriteCurrent(bool stay, bool markDeleted);
    void Append(bool blank);
    void BlankRecord();
    void ClearBuffer(bool raw);
    bool IsDeleted() const { return !buffer_.empty() && buffer_[0] == '*'; }
    void MarkDeleted(bool flag);
    bool HasBuffer() const { return !buffer_.empty(); }
    const std::vector<uint8_t>& Buffer() const { return buffer_; }

    // Field values of the buffer. The key is a field name (any case) or,
    // for any other variant, a 0-based field index. Conversion errors
    // throw TDBFError.
    Variant GetField(const Variant& key);
    void SetField(const Variant& key, const Variant& value);

    std::string MemoRead(uint32_t block);
    uint32_t MemoWrite(uint32_t block, std::string_view text);

    // Helpers of the whole-table operations.
    // Whether a field of the buffer holds no value at all (blank bytes).
    bool FieldIsBlank(int index) const;
    // Stores blank bytes into a field of the buffer (when writable).
    void SetFieldBlank(int index);
    // The memo block a field of the buffer refers to, and setting it
    // without touching the memo file.
    uint32_t MemoBlockOf(int index) const;
    void SetMemoBlock(int index, uint32_t block);
    // The raw memo file, for copying memo bytes unchanged.
    TDBF_Memo& MemoFile() { return memo_; }
    // Writes a maintenance line to the open log.
    void LogMessage(std::string_view message);

    TDBF_Fields Fields;
    uint8_t CodePage = 1;   // 0 none; 1 fields in code page 866; 2 the other way round
    uint16_t CacheBlock = 0;  // records per cache block; 0 = no cache

private:
    void Reset();
    bool OpenDataFile(const std::string& path, int access, bool retry);
    void ReadDescriptors();
    void CheckConsistency();
    int64_t RecordOffset(uint32_t recNo) const;
    void ReadBlockIntoCache(uint32_t index);
    std::vector<uint8_t>& CacheEntry(uint32_t index);
    void WriteAt(int64_t offset, const void* bytes, int64_t count);
    void SetRecordCount(uint32_t count);
    int ResolveField(const Variant& key);
    void Remember(int index);

    // Field conversions (DBF_TextFields.cpp, DBF_BinaryFields.cpp).
    std::string ToStored(std::string_view text) const;   // writing direction
    std::string FromStored(std::string_view text) const; // reading direction
    uint8_t* FieldBytes(const TDBF_Field& field, size_t& width);
    const uint8_t* FieldBytes(const TDBF_Field& field, size_t& width) const;
    std::string FieldText(const TDBF_Field& field) const;  // bytes up to the first NUL
    void PutFieldBytes(const TDBF_Field& field, std::string_view bytes);
    Variant GetTextField(const TDBF_Field& field);
    void SetTextField(const TDBF_Field& field, const Variant& value);
    Variant GetBinaryField(const TDBF_Field& field);
    void SetBinaryField(const TDBF_Field& field, const Variant& value);
    std::string TextFieldValue(const TDBF_Field& field, const Variant& value) const;
    std::string BinaryRaw(const TDBF_Field& field) const;  // Size bytes, zero-filled

    uint8_t lastFieldIndex_ = kNoField;
    bool writable_ = false;
    bool binary_ = false;
    uint32_t recNo_ = 0;
    TFile data_;
    TDBF_Memo memo_;
    DBFHeader header_{};
    std::vector<uint8_t> buffer_;
    std::map<uint32_t, std::vector<uint8_t>> cache_;  // record index -> bytes
    TLog log_;
    // A header that does not match the file is used as repaired in memory
    // and only written back once the table has been written to.
    bool headerRepaired_ = false;
    bool written_ = false;
};
