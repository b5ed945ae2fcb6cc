// The creator methods that walk a whole table: "AsArray", "ReVal" and
// "CopyData". Each opens its tables with one attempt, walks every record
// from the first to the end (deleted ones included) and closes them.
#include <optional>

#include "dbf/ClassDBF.h"
#include "dbf/DBF_File.h"
#include "dbf/ScriptDB_Selection.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

bool OpenTable(TDBF_Data& table, GrafVarArray* args, int position, const char* mode) {
    return table.Open(NativePath(ArgText(args, position)), mode, true, true, false);
}

// A field argument is a name (a string) or a 0-based index.
Variant FieldKey(VAR_* argument) { return argument ? argument->GetVariant() : Variant::FromStr(""); }

// The runtime's text of a field value (character fields keep their padding).
std::string FieldText(TDBF_Data& table, const Variant& key) {
    TempRef value(NewFromVariant(table.GetField(key)));
    return value->GetStr();
}

// Whether a field argument names a field of the table.
bool NamesField(TDBF_Data& table, const Variant& key) {
    if (key.Kind() == VarKind::String) return table.FieldIndex(key.StrValue()) != TDBF_Data::kNoField;
    const int64_t index = key.ToInt();
    return index >= 0 && index < int64_t(table.FieldCount());
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && uint8_t(text[begin]) <= ' ') ++begin;
    while (end > begin && uint8_t(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace

// AsArray(name, key field, value field, further value fields...): one
// entry per record, key text -> the value texts joined without separator.
VAR_* TableAsArray(GrafVarArray* args) {
    TempRef result(NewArray());
    TDBF_Data table;
    if (!OpenTable(table, args, 0, "r")) return result.release();
    const Variant key = FieldKey(ArgAt(args, 1));
    std::vector<Variant> values;
    for (int32_t i = 2; args && i < args->Count; ++i) values.push_back(FieldKey(args->CellAt(i)));
    GrafVarArray& entries = *TableOf(result.get());
    for (table.First(true); !table.Eof(); table.Next(true)) {
        std::string text;
        for (const Variant& value : values) text += FieldText(table, value);
        entries.AddCell(FieldText(table, key), NewStr(std::move(text)));
    }
    table.Close();
    return result.release();
}

// ReVal(name, field, new value [, filter]) fills the field where it is
// blank, or where its text passes the filter. ReVal(name, field, map
// [, field to set [, filter]]) replaces the values the map names (old
// value text -> new value), only where the field to set passes the filter
// when one is given. The result is the number of records changed.
VAR_* ReplaceValues(GrafVarArray* args) {
    VAR_* third = ArgAt(args, 2);
    if (!third) return NewInt(0);
    const Variant field = FieldKey(ArgAt(args, 1));
    const bool withMap = IsArray(third);
    Variant target = field;
    std::optional<std::string> filter;
    const int filterPosition = withMap ? 4 : 3;
    if (withMap) {
        VAR_* fourth = ArgAt(args, 3);
        if (fourth && fourth->Type != Types.Null) target = fourth->GetVariant();
    }
    if (VAR_* filterArg = ArgAt(args, filterPosition)) filter = filterArg->GetStr();

    TDBF_Data table;
    if (!OpenTable(table, args, 0, "rw")) return NewInt(0);
    // An unknown field would read as blank everywhere and count changes
    // that store nothing.
    if (!NamesField(table, field) || !NamesField(table, target)) return NewInt(0);
    int64_t changed = 0;
    for (table.First(true); !table.Eof(); table.Next(true)) {
        const std::string current = Trimmed(FieldText(table, field));
        VAR_* newValue = third;
        bool change;
        if (withMap) {
            GrafVarArray& map = *TableOf(third);
            CursorKeeper keep(map);
            newValue = map.CellByName(current);
            change = newValue && (!filter || PassesFilter(FieldText(table, target), *filter));
        } else {
            change = filter ? PassesFilter(FieldText(table, field), *filter) : current.empty();
        }
        if (!change) continue;
        table.SetField(target, newValue->GetVariant());
        table.WriteCurrent(true, false);
        ++changed;
    }
    table.Close();
    return NewInt(changed);
}

// CopyData(source, destination, map): for every source record, the fields
// the map names (source field -> destination field) are stored into the
// destination buffer, which is then appended. The buffer is not blanked
// between records.
void CopyMappedData(GrafVarArray* args) {
    VAR_* mapArg = ArgAt(args, 2);
    if (!mapArg || !IsArray(mapArg)) return;
    GrafVarArray& map = *TableOf(mapArg);
    CursorKeeper keep(map);
    TDBF_Data source, destination;
    if (!OpenTable(source, args, 0, "r") || !OpenTable(destination, args, 1, "rw")) return;
    destination.Append(true);
    for (source.First(true); !source.Eof(); source.Next(true)) {
        bool stored = false;
        for (int i = 0; i < int(source.FieldCount()); ++i) {
            VAR_* to = map.CellByName(source.FieldName(i));
            if (!to) continue;
            destination.SetField(Variant::FromStr(to->GetStr()), source.GetField(Variant::FromInt(i)));
            stored = true;
        }
        if (stored) destination.WriteCurrent(false, false);
    }
    destination.Close();
    source.Close();
}
