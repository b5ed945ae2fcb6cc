// Copying records between tables by field name, and restructuring.
#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "dbf/DBF_Maint.h"
#include "dbf/DBF_TableFiles.h"
#include "dbf/DBF_Text.h"

namespace {

void CopyOneRecord(TDBF_Data& source, TDBF_Data& destination) {
    destination.Append(true);
    for (size_t i = 0; i < source.FieldCount(); ++i) {
        const std::string name = source.FieldName(int(i));
        const uint8_t target = destination.FieldIndex(name);
        if (target == TDBF_Data::kNoField) continue;
        // A field that holds nothing stays empty: converting it would
        // invent a value (a blank date would become 1900-01-01).
        if (source.FieldIsBlank(int(i))) destination.SetFieldBlank(target);
        else destination.SetField(Variant::FromStr(name), source.GetField(Variant::FromInt(int64_t(i))));
    }
    destination.MarkDeleted(source.IsDeleted());
    destination.WriteCurrent(true, false);
}

bool AnyTableFile(const std::string& base) {
    return TFile::Exists(DataPath(base)) || TFile::Exists(MemoPath(base)) || TFile::Exists(LogPath(base));
}

// Puts a table's files back under their old base name, without logging.
void MoveBack(const std::string& from, const std::string& to) {
    for (const auto& path : {DataPath, MemoPath, LogPath})
        if (TFile::Exists(path(from))) ReplaceFile(path(from), path(to));
}

}  // namespace

void CopyRecords(const std::string& source, const std::string& destination) {
    TDBF_Data from;
    if (!from.Open(source, "r", true, true, false)) return;
    if (from.FieldCount() == 0) return from.Close();
    TDBF_Data to;
    if (!to.Open(destination, "rw", true, true, false)) return from.Close();
    // Both tables keep their stored code page: bytes pass unchanged where a
    // round trip through the program's code page would alter the ones that
    // are not letters.
    from.CodePage = 0;
    to.CodePage = 0;
    if (to.FieldCount() > 0) {
        to.LogMessage(" Copy Records Data {[" + source + "]} => {[" + destination + "]}");
        while (!from.Eof()) {
            CopyOneRecord(from, to);
            from.Next(true);
        }
    }
    to.Close();
    from.Close();
}

void RestructureTable(const std::string& base, const TDBF_Fields& fields) {
    if (!TFile::Exists(DataPath(base))) return;
    const std::string backup = base + "_olddbf";
    // A backup left by an earlier restructure may hold the only copy of the
    // data; it is never overwritten.
    if (AnyTableFile(backup))
        throw TDBFError("Cannot restructure \"" + base + "\": \"" + backup + "\" exists from an earlier attempt");
    CheckFieldList(fields, false);
    RenameTable(base, backup);
    if (TFile::Exists(DataPath(base)) || !TFile::Exists(DataPath(backup)))
        throw TDBFError("Cannot restructure \"" + base + "\": the table could not be moved aside");
    try {
        LogNewTablesOff quiet;
        CreateTable(base, fields, false);
    } catch (...) {
        for (const auto& path : {DataPath, MemoPath})
            if (TFile::Exists(path(base))) TFile::Erase(path(base));
        MoveBack(backup, base);
        throw;
    }
    // The table's log travels with the backup until the copy is done.
    std::string names;
    for (const TDBF_Field& field : fields.Items()) names += TrimText(field.Name) + ",";
    AppendLogLine(LogPath(backup), " ReField {[" + names + "]}");
    try {
        CopyRecords(backup, base);
    } catch (const std::exception& error) {
        throw TDBFError("Restructuring \"" + base + "\" stopped; the old table is kept as \"" + backup +
                        "\"\r\n<  " + error.what());
    }
    DeleteTable(backup);
    if (TFile::Exists(LogPath(backup)) && !TFile::Exists(LogPath(base)))
        TFile::Rename(LogPath(backup), LogPath(base));
}

TDBF_Fields ReadFieldList(const std::string& base) {
    TDBF_Data table;
    if (!table.Open(base, "r", true, true, false)) return {};
    TDBF_Fields fields = table.Fields;
    table.Close();
    return fields;
}
