#include "dbf/DBF_File.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_Maint.h"
#include "dbf/DBF_ReadAt.h"
#include "values/codepage.h"
#include "values/oledate.h"

namespace {

constexpr uint8_t kEndOfData = 0x1A;
constexpr uint8_t kEndOfDescriptors = 0x0D;
constexpr int64_t kDescriptorSize = 32;
constexpr auto kRetryLimit = std::chrono::seconds(10);
constexpr auto kRetryPause = std::chrono::milliseconds(50);

int AccessForMode(const std::string& mode, bool& writable) {
    const std::string lower = Lower1251(mode);
    writable = lower == "rw" || lower == "wr" || lower == "w";
    // A write-only handle could not read the header it rewrites on close,
    // so "w" opens for reading and writing as well.
    return writable ? TFile::kReadWrite : TFile::kRead;
}

}  // namespace

TDBF_Data::TDBF_Data(const std::string& base, const std::string& mode, bool readFields, bool makeBuffer, bool retry) {
    Open(base, mode, readFields, makeBuffer, retry);
}

TDBF_Data::~TDBF_Data() {
    try {
        Close();
    } catch (const TDBFError&) {
        // A destructor cannot report; callers who care call Close first.
    }
}

void TDBF_Data::Reset() {
    Fields.Clear();
    lastFieldIndex_ = kNoField;
    data_.Close();
    memo_.Close();
    log_.Close();
    cache_.clear();
    buffer_.clear();
    header_.fill(0);
    writable_ = binary_ = headerRepaired_ = written_ = false;
    recNo_ = 0;
}

bool TDBF_Data::OpenDataFile(const std::string& path, int access, bool retry) {
    if (data_.Open(path, access)) return true;
    if (!retry) return false;
    // Another process may hold the file for a while; waiting is bounded.
    const auto deadline = std::chrono::steady_clock::now() + kRetryLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kRetryPause);
        if (!TFile::Exists(path)) return false;
        if (data_.Open(path, access)) return true;
    }
    return false;
}

bool TDBF_Data::Open(const std::string& base, const std::string& mode, bool readFields, bool makeBuffer, bool retry) {
    Reset();
    const std::string dataPath = base + ".dbf";
    if (!TFile::Exists(dataPath)) return false;
    const int access = AccessForMode(mode, writable_);
    if (writable_ && TFile::Exists(base + ".log")) log_.Open(base + ".log");
    if (!OpenDataFile(dataPath, access, retry)) {
        Reset();
        return false;
    }
    // A file too short for its 32 header bytes is not a table.
    if (data_.Seek64(0, 0) != 0 || data_.Read(header_.data(), 32) != 32) {
        Reset();
        return false;
    }
    binary_ = (header_[0] & 0x7F) == 0x7F;
    if (TFile::Exists(base + ".dbt")) memo_.Open(base + ".dbt", access, binary_);
    if (readFields) ReadDescriptors();
    CheckConsistency();
    recNo_ = 1;
    if (makeBuffer) {
        buffer_.assign(size_t(RecordLength()) + 1, ' ');
        ReadCurrent(true, false);
    }
    return data_.IsOpen();
}

// Descriptors follow the 32 header bytes until one begins with 0x0D; a
// file without that terminator ends its descriptors at the end of the
// file. At most 255 fields can be addressed.
void TDBF_Data::ReadDescriptors() {
    Fields.Clear();
    uint8_t d[kDescriptorSize];
    for (int64_t offset = 32; Fields.Count() < kNoField; offset += kDescriptorSize) {
        if (data_.Seek64(offset, 0) != offset) break;
        const int64_t got = data_.Read(d, kDescriptorSize);
        if (got < 1 || d[0] == kEndOfDescriptors || got < kDescriptorSize) break;
        // 0..10 name (NUL-terminated, at most 10 characters), 11 type,
        // 16 length, 17 decimal count.
        const size_t nameLength = std::find(d, d + 10, 0) - d;
        Fields.AddStored(std::string(reinterpret_cast<const char*>(d), nameLength), char(d[11]), d[16], d[17],
                         binary_);
    }
}

// The record count used is what the file can hold after its header; the
// header in memory is corrected, the file only when the table is written.
void TDBF_Data::CheckConsistency() {
    const int64_t size = data_.GetSize();
    const int64_t recordLength = RecordLength();
    const int64_t room = size > HeaderLength() ? size - HeaderLength() : 0;
    const int64_t fits = recordLength > 0 ? room / recordLength : 0;
    if (int64_t(RecordCount()) > fits) {
        SetRecordCount(uint32_t(fits));
        headerRepaired_ = true;
    }
    if (!Fields.Empty() && Fields.RecordLength() != uint32_t(recordLength)) headerRepaired_ = true;
    // Records that would start inside the header or the descriptors could
    // only be written over them: such a table is read, never written.
    const int64_t descriptorsEnd = 32 + kDescriptorSize * int64_t(Fields.Count());
    if (HeaderLength() < descriptorsEnd || recordLength == 0) {
        writable_ = false;
        log_.Close();
    }
}

void TDBF_Data::Close() {
    const bool writeHeader = data_.IsOpen() && writable_ && (!headerRepaired_ || written_);
    bool failed = false;
    if (writeHeader) {
        // Bytes 1..3: date of the last update, year mod 100, month, day.
        const DateParts today = PartsFromOleDate(OleNow());
        header_[1] = uint8_t(today.year % 100);
        header_[2] = uint8_t(today.month);
        header_[3] = uint8_t(today.day);
        failed = data_.Seek64(0, 0) != 0 || data_.Write(header_.data(), 32) != 32;
    }
    const std::string path = data_.FilePath;
    data_.Close();
    memo_.Close();
    log_.Close();
    buffer_.clear();
    writable_ = false;
    if (failed) throw TDBFError("Cannot write the header of \"" + path + "\"");
}

void TDBF_Data::CreateTable(const std::string& base, bool binary) { ::CreateTable(base, Fields, binary); }

uint32_t TDBF_Data::RecordCount() const { return LoadU32(&header_[4]); }
uint16_t TDBF_Data::HeaderLength() const { return LoadU16(&header_[8]); }
uint16_t TDBF_Data::RecordLength() const { return LoadU16(&header_[10]); }
void TDBF_Data::SetRecordCount(uint32_t count) { StoreU32(&header_[4], count); }

uint8_t TDBF_Data::FieldIndex(std::string_view name) {
    const std::string upper = Upper1251(name);
    if (lastFieldIndex_ != kNoField && lastFieldIndex_ < Fields.Count() &&
        Upper1251(Fields[lastFieldIndex_].Name) == upper)
        return lastFieldIndex_;
    for (size_t i = 0; i < Fields.Count(); ++i) {
        if (Upper1251(Fields[i].Name) == upper) {
            lastFieldIndex_ = uint8_t(i);
            return lastFieldIndex_;
        }
    }
    return kNoField;
}

std::string TDBF_Data::FieldName(int index) const {
    return index >= 0 && size_t(index) < Fields.Count() ? Fields[size_t(index)].Name : "";
}

TDBF_Field TDBF_Data::FieldInfo(int index) const {
    return index >= 0 && size_t(index) < Fields.Count() ? Fields[size_t(index)] : TDBF_Field{};
}

// --- Cursor -----------------------------------------------------------

int64_t TDBF_Data::RecordOffset(uint32_t recNo) const {
    return int64_t(HeaderLength()) + int64_t(recNo - 1) * int64_t(RecordLength());
}

void TDBF_Data::GoTo(uint32_t n) {
    if (n >= 1 && n <= RecordCount()) recNo_ = n;
}

void TDBF_Data::GoToRead(uint32_t n) {
    if (n < 1 || n > RecordCount()) return;
    recNo_ = n;
    ReadCurrent(true, false);
}

void TDBF_Data::First(bool read) {
    if (!IsOpen()) return;
    recNo_ = 1;
    if (read) ReadCurrent(true, false);
}

// Next stops at the end position (count + 1): going further would let a
// write leave a gap of undefined records.
void TDBF_Data::Next(bool read) {
    if (!IsOpen() || recNo_ > RecordCount()) return;
    ++recNo_;
    if (read) ReadCurrent(true, false);
}

void TDBF_Data::Prev(bool read) {
    if (!IsOpen() || recNo_ < 2) return;
    --recNo_;
    if (read) ReadCurrent(true, false);
}

void TDBF_Data::Last(bool read) {
    if (!IsOpen() || RecordCount() == 0) return;
    recNo_ = RecordCount();
    if (read) ReadCurrent(true, false);
}

// --- Records ----------------------------------------------------------

void TDBF_Data::ReadBlockIntoCache(uint32_t index) {
    const uint32_t start = index - index % CacheBlock;
    const uint32_t count = RecordCount();
    const uint32_t end = uint32_t(std::min<uint64_t>(uint64_t(start) + CacheBlock, count));
    const size_t length = RecordLength();
    std::vector<uint8_t> bytes;
    if (end > start) {
        bytes.assign(size_t(end - start) * length, 0);
        const int64_t offset = RecordOffset(start + 1);
        ReadAt(data_, offset, bytes.data(), int64_t(bytes.size()));
    }
    // Records past the end are zero until written; only indexes that exist
    // get entries, so a block never holds more than the file does.
    for (uint32_t i = start; i < end; ++i) {
        auto& entry = cache_[i];
        if (entry.empty()) entry.assign(bytes.begin() + ptrdiff_t((i - start) * length),
                                        bytes.begin() + ptrdiff_t((i - start + 1) * length));
    }
}

std::vector<uint8_t>& TDBF_Data::CacheEntry(uint32_t index) {
    auto found = cache_.find(index);
    if (found == cache_.end()) {
        ReadBlockIntoCache(index);
        found = cache_.find(index);
        if (found == cache_.end()) found = cache_.emplace(index, std::vector<uint8_t>(RecordLength(), 0)).first;
    }
    return found->second;
}

bool TDBF_Data::ReadRecord(uint8_t* dest, bool stay) {
    log_.DropPending();
    if (!IsOpen() || recNo_ < 1 || recNo_ > RecordCount()) return false;
    const size_t length = RecordLength();
    if (CacheBlock > 0) {
        const std::vector<uint8_t>& entry = CacheEntry(recNo_ - 1);
        std::copy(entry.begin(), entry.end(), dest);
    } else {
        std::memset(dest, ' ', length);
        const int64_t offset = RecordOffset(recNo_);
        ReadAt(data_, offset, dest, int64_t(length));
    }
    if (length > 0 && dest[0] == kEndOfData) dest[0] = ' ';
    if (!stay) ++recNo_;
    return true;
}

void TDBF_Data::WriteAt(int64_t offset, const void* bytes, int64_t count) {
    if (data_.Seek64(offset, 0) != offset || data_.Write(bytes, count) != count)
        throw TDBFError("Cannot write data file \"" + data_.FilePath + "\"");
}

bool TDBF_Data::WriteRecord(const uint8_t* src, bool stay) {
    if (!IsOpen() || !writable_ || recNo_ < 1 || recNo_ > RecordCount() + 1) return false;
    if (RecordCount() == 0xFFFFFFFFu && recNo_ > RecordCount()) throw TDBFError("The table is full");
    const size_t length = RecordLength();
    if (CacheBlock > 0) {
        std::vector<uint8_t>& entry = CacheEntry(recNo_ - 1);
        std::copy(src, src + length, entry.begin());
    }
    written_ = true;
    WriteAt(RecordOffset(recNo_), src, int64_t(length));
    if (RecordCount() < recNo_) {
        SetRecordCount(RecordCount() + 1);
        WriteAt(RecordOffset(recNo_) + int64_t(length), &kEndOfData, 1);
    }
    if (!stay) ++recNo_;
    if (log_.IsOpen()) log_.FlushPending(recNo_);
    return true;
}

void TDBF_Data::ReadCurrent(bool stay, bool blankDeleted) {
    if (buffer_.empty()) return;
    if (!ReadRecord(buffer_.data(), stay)) return;
    if (blankDeleted && buffer_[0] == '*') BlankRecord();
}

void TDBF_Data::WriteCurrent(bool stay, bool markDeleted) {
    if (!writable_ || buffer_.empty()) return;
    if (markDeleted) buffer_[0] = '*';
    WriteRecord(buffer_.data(), stay);
}

void TDBF_Data::Append(bool blank) {
    if (!IsOpen() || !writable_) return;
    recNo_ = RecordCount() + 1;
    log_.AddPending(recNo_, "Insert");
    if (blank && !buffer_.empty()) BlankRecord();
}

void TDBF_Data::ClearBuffer(bool raw) {
    if (buffer_.empty()) return;
    if (!raw) return BlankRecord();
    std::fill(buffer_.begin(), buffer_.end(), binary_ ? 0 : ' ');
    buffer_[0] = ' ';
}

void TDBF_Data::MarkDeleted(bool flag) {
    if (buffer_.empty()) return;
    buffer_[0] = flag ? '*' : ' ';
    log_.AddPending(recNo_, flag ? "Del" : "ReDel");
}

void TDBF_Data::LogMessage(std::string_view message) { log_.WriteMessage(message); }

// --- Memo -------------------------------------------------------------

std::string TDBF_Data::MemoRead(uint32_t block) {
    if (!memo_.IsOpen()) return std::to_string(block);
    memo_.KeepInMemory(CacheBlock > 0);
    return memo_.Read(block);
}

uint32_t TDBF_Data::MemoWrite(uint32_t block, std::string_view text) {
    if (!memo_.IsOpen()) return block;
    log_.WriteEvent(recNo_, "MemoWrite :> {[" + std::string(text) + "]}");
    return memo_.Write(block, text);
}
