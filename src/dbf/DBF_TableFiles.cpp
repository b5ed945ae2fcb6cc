// Creating, renaming and deleting whole tables.
#include "dbf/DBF_TableFiles.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_Log.h"
#include "dbf/DBF_Maint.h"
#include "dbf/DBF_Memo.h"
#include "values/oledate.h"
#include "values/unitUtils.h"

bool LogNewTables = false;

void CopyFileBytes(const std::string& from, const std::string& to) {
    TFile source, target;
    if (!source.Open(from, TFile::kRead)) throw TDBFError("Cannot read \"" + from + "\"");
    if (!target.Recreate(to)) throw TDBFError("Cannot create \"" + to + "\"");
    std::vector<char> chunk(65536);
    for (;;) {
        const int64_t got = source.Read(chunk.data(), int64_t(chunk.size()));
        if (got < 0) throw TDBFError("Cannot read \"" + from + "\"");
        if (got == 0) break;
        if (target.Write(chunk.data(), got) != got) throw TDBFError("Cannot write \"" + to + "\"");
    }
}

void ReplaceFile(const std::string& from, const std::string& to) {
    if (std::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0)
        throw TDBFError("Cannot replace \"" + to + "\" by \"" + from + "\": " + std::strerror(errno));
}

namespace {

// Header (32 bytes): 0 version, 1..3 date (year mod 100, month, day),
// 4..7 record count, 8..9 header length, 10..11 record length, 31 0x0A,
// all else zero.
std::vector<uint8_t> NewHeader(bool binary, size_t fieldCount) {
    std::vector<uint8_t> header(32, 0);
    header[0] = binary ? 0x7F : 0x03;
    const DateParts today = PartsFromOleDate(OleNow());
    header[1] = uint8_t(today.year % 100);
    header[2] = uint8_t(today.month);
    header[3] = uint8_t(today.day);
    StoreU16(&header[8], uint16_t(32 * (fieldCount + 1) + 1));
    StoreU16(&header[10], 1);
    header[31] = 0x0A;
    return header;
}

// Descriptor (32 bytes): 0..10 name NUL-filled, 11 type, 12..15 blanks,
// 16 length, 17 decimal count, 18..30 blanks, 31 0x0A.
std::vector<uint8_t> Descriptor(const TDBF_Field& field) {
    std::vector<uint8_t> d(32, ' ');
    std::fill(d.begin(), d.begin() + 11, 0);
    std::memcpy(d.data(), field.Name.data(), std::min<size_t>(field.Name.size(), 10));
    d[11] = uint8_t(field.Type);
    d[16] = field.Length;
    d[17] = field.Decimals;
    d[31] = 0x0A;
    return d;
}

void WriteOrFail(TFile& file, int64_t offset, const std::vector<uint8_t>& bytes) {
    if (file.Seek64(offset, 0) != offset || file.Write(bytes.data(), int64_t(bytes.size())) != int64_t(bytes.size()))
        throw TDBFError("Cannot write data file \"" + file.FilePath + "\"");
}

}  // namespace

void CheckFieldList(const TDBF_Fields& fields, bool binary) {
    if (fields.LongestDeclaredLength() > 255)
        throw TDBFError("Field length " + std::to_string(fields.LongestDeclaredLength()) +
                        " is too long: a field holds at most 255 characters");
    if (fields.Count() > 255) throw TDBFError("A table holds at most 255 fields");
    TDBF_Fields placed = fields;
    placed.Layout(binary);
    if (placed.RecordLength() > 65535) throw TDBFError("The record is longer than 65535 bytes");
}

void CreateTable(const std::string& base, TDBF_Fields fields, bool binary) {
    CheckFieldList(fields, binary);
    fields.Layout(binary);
    TFile file;
    if (!file.Recreate(DataPath(base))) throw TDBFError("Cannot create data file \"" + DataPath(base) + "\"");
    std::vector<uint8_t> header = NewHeader(binary, fields.Count());
    WriteOrFail(file, 0, header);
    uint32_t recordLength = 1;
    bool hasMemo = false;
    int64_t offset = 32;
    for (const TDBF_Field& field : fields.Items()) {
        WriteOrFail(file, offset, Descriptor(field));
        offset += 32;
        recordLength += field.Size;
        if ((field.Type == 'M' || field.Type == 'B') && !hasMemo) {
            hasMemo = true;
            header[0] |= 0x80;
            TDBF_Memo::CreateEmpty(MemoPath(base));
        }
    }
    // Terminator block: 0x0D ends the descriptors, 0x1A marks the end of
    // the (still empty) data, 30 zero bytes follow.
    std::vector<uint8_t> terminator(32, 0);
    terminator[0] = 0x0D;
    terminator[1] = 0x1A;
    WriteOrFail(file, offset, terminator);
    StoreU16(&header[10], uint16_t(recordLength));
    WriteOrFail(file, 0, header);
    // Logged once the table is complete: a log that cannot be written then
    // leaves a usable table behind.
    if (LogNewTables || TFile::Exists(LogPath(base))) AppendLogLine(LogPath(base), " Create New Base", LogNewTables);
}

void RenameTable(const std::string& oldBase, const std::string& newBase) {
    if (!TFile::Exists(DataPath(oldBase))) return;
    // The other files follow only when the data file moved.
    if (!TFile::Rename(DataPath(oldBase), DataPath(newBase))) return;
    if (TFile::Exists(LogPath(oldBase))) {
        AppendLogLine(LogPath(oldBase), " ReName {[" + oldBase + "]} => {[" + newBase + "]}");
        TFile::Rename(LogPath(oldBase), LogPath(newBase));
    }
    if (TFile::Exists(MemoPath(oldBase))) TFile::Rename(MemoPath(oldBase), MemoPath(newBase));
}

void DeleteTable(const std::string& base) {
    if (!TFile::Exists(DataPath(base))) return;
    TFile::Erase(DataPath(base));
    if (TFile::Exists(LogPath(base))) AppendLogLine(LogPath(base), " Delete Base {[" + base + "]}");
    if (TFile::Exists(MemoPath(base))) TFile::Erase(MemoPath(base));
}
