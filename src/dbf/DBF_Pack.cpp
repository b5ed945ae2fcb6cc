// Removing deleted records and compacting memo files. Both build the new
// files under temporary names and replace the originals only once those
// are complete, so an interruption leaves the table as it was.
#include <vector>

#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "dbf/DBF_Maint.h"
#include "dbf/DBF_TableFiles.h"

namespace {

void EraseIfPresent(const std::string& path) {
    if (TFile::Exists(path)) TFile::Erase(path);
}

// Copies the live records, byte for byte, into the temporary table;
// returns how many deleted records were left out.
uint32_t CopyLiveRecords(TDBF_Data& source, TDBF_Data& packed) {
    std::vector<uint8_t> record(source.RecordLength());
    uint32_t removed = 0;
    while (source.ReadRecord(record.data(), false)) {
        if (record[0] == '*') ++removed;
        else packed.WriteRecord(record.data(), false);
    }
    return removed;
}

std::vector<int> MemoFieldIndexes(const TDBF_Data& table) {
    std::vector<int> indexes;
    for (size_t i = 0; i < table.FieldCount(); ++i)
        if (table.Fields[i].Type == 'M') indexes.push_back(int(i));
    return indexes;
}

// Rewrites every memo of the work table (a copy of the table whose memo
// file is new and empty) from the old memo file, in record order.
void RewriteMemos(TDBF_Data& work, TDBF_Memo& oldMemo, const std::vector<int>& memoFields) {
    work.First(true);
    while (!work.Eof()) {
        for (const int field : memoFields) {
            const uint32_t oldBlock = work.MemoBlockOf(field);
            const std::string text = oldBlock == 0 ? "" : oldMemo.Read(oldBlock);
            work.SetMemoBlock(field, text.empty() ? 0 : work.MemoFile().Write(0, text));
        }
        work.WriteCurrent(false, false);
        work.ReadCurrent(true, false);
    }
}

}  // namespace

uint32_t PackRecords(const std::string& base) {
    TDBF_Data source;
    if (!source.Open(base, "r", true, true, true)) return 0;
    const std::string temp = base + "_tmp";
    {
        LogNewTablesOff quiet;
        CreateTable(temp, source.Fields, source.IsBinary());
    }
    TDBF_Data packed;
    uint32_t removed = 0;
    try {
        if (!packed.Open(temp, "rw", true, true, false)) throw TDBFError("Cannot open \"" + DataPath(temp) + "\"");
        if (packed.RecordLength() != source.RecordLength())
            throw TDBFError("Cannot pack \"" + base + "\": its record length does not match its fields");
        removed = CopyLiveRecords(source, packed);
        packed.Close();
        source.Close();
    } catch (...) {
        packed.Close();
        EraseIfPresent(DataPath(temp));
        EraseIfPresent(MemoPath(temp));
        throw;
    }
    // The records were copied byte for byte: their memo block numbers still
    // refer to the table's own memo file, which stays.
    EraseIfPresent(MemoPath(temp));
    ReplaceFile(DataPath(temp), DataPath(base));
    if (removed > 0 && TFile::Exists(LogPath(base)))
        AppendLogLine(LogPath(base), " Rec Pack, deletes for " + std::to_string(removed) + " record");
    return removed;
}

int64_t PackMemos(const std::string& base) {
    if (!TFile::Exists(DataPath(base)) || !TFile::Exists(MemoPath(base))) return 0;
    const int64_t sizeBefore = TFile::SizeOfFile(MemoPath(base));
    std::vector<int> memoFields;
    bool binary = false;
    {
        TDBF_Data table;
        if (!table.Open(base, "r", true, true, true)) return 0;
        memoFields = MemoFieldIndexes(table);
        binary = table.IsBinary();
        table.Close();
    }
    if (memoFields.empty()) return sizeBefore;

    const std::string temp = base + "_tmp";
    try {
        CopyFileBytes(DataPath(base), DataPath(temp));
        TDBF_Memo::CreateEmpty(MemoPath(temp));
        TDBF_Memo oldMemo;
        if (!oldMemo.Open(MemoPath(base), TFile::kRead, binary)) throw TDBFError("Cannot read \"" + MemoPath(base) + "\"");
        TDBF_Data work;
        if (!work.Open(temp, "rw", true, true, false)) throw TDBFError("Cannot open \"" + DataPath(temp) + "\"");
        RewriteMemos(work, oldMemo, memoFields);
        work.Close();
    } catch (...) {
        EraseIfPresent(DataPath(temp));
        EraseIfPresent(MemoPath(temp));
        throw;
    }
    // The memo file first: until the data file follows, the old records
    // would point into the new memo file, so the two steps follow at once.
    ReplaceFile(MemoPath(temp), MemoPath(base));
    ReplaceFile(DataPath(temp), DataPath(base));
    const int64_t saved = sizeBefore - TFile::SizeOfFile(MemoPath(base));
    if (TFile::Exists(LogPath(base)))
        AppendLogLine(LogPath(base), " Memo Pack, deletes for " + std::to_string(saved) + " bytes");
    return saved;
}
