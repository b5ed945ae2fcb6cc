// The "Filter" method of a selection and the filter text test it applies
// to each cell.
#include <algorithm>
#include <string_view>
#include <vector>

#include "dbf/ScriptDB_Selection.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"

namespace {

// Blanks and control characters go, at both ends.
std::string Trimmed(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && uint8_t(text[begin]) <= ' ') ++begin;
    while (end > begin && uint8_t(text[end - 1]) <= ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

// 1-based position of the pattern in the value, 0 when absent; an empty
// pattern never occurs.
int64_t PositionOf(const std::string& pattern, const std::string& value) {
    if (pattern.empty()) return 0;
    const size_t at = value.find(pattern);
    return at == std::string::npos ? 0 : int64_t(at) + 1;
}

// The modifier character: which side is lower- or upper-cased or trimmed.
void ApplyModifier(char modifier, std::string& value, std::string& pattern) {
    switch (modifier) {
    case 'L': value = Lower1251(value); break;
    case 'R': value = Lower1251(value), pattern = Lower1251(pattern); break;
    case 'T': value = Trimmed(value), pattern = Trimmed(pattern); break;
    case 'U': value = Upper1251(value); break;
    case 'l': value = Trimmed(Lower1251(value)); break;
    case 'r': value = Trimmed(Lower1251(value)), pattern = Trimmed(Lower1251(pattern)); break;
    case 't': value = Trimmed(value); break;
    case 'u': value = Trimmed(Upper1251(value)); break;
    default: break;
    }
}

bool StartsWith(const std::string& value, const std::string& pattern) {
    return value.compare(0, pattern.size(), pattern) == 0;
}

bool EndsWith(const std::string& value, const std::string& pattern) {
    return value.size() >= pattern.size() && value.compare(value.size() - pattern.size(), pattern.size(), pattern) == 0;
}

// Rebuilds the row list without the marked entries: removing them one
// by one would walk the list from its start for every removal.
void RemoveRows(GrafVarArray& rows, const std::vector<bool>& removed) {
    if (std::find(removed.begin(), removed.end(), true) == removed.end()) return;
    std::vector<std::pair<std::string, int64_t>> kept;
    GrafNode* node = rows.Head;
    for (size_t i = 0; i < removed.size(); ++i, node = node->NextNode)
        if (!removed[i]) kept.emplace_back(node->Name, static_cast<VAR_*>(node->Value)->GetInt());
    rows.Clear();
    for (auto& [name, number] : kept) rows.AddCell(std::move(name), NewInt(number));
}

}  // namespace

// Filter text: operator character, modifier character, then the pattern.
bool PassesFilter(const std::string& given, const std::string& filterText) {
    const char op = filterText.empty() ? '\0' : filterText[0];
    const char modifier = filterText.size() < 2 ? '\0' : filterText[1];
    std::string pattern = filterText.size() < 2 ? std::string() : filterText.substr(2);
    std::string value = given;
    ApplyModifier(modifier, value, pattern);
    const int64_t position = PositionOf(pattern, value);
    switch (op) {
    case '=': return value == pattern;
    case '!': return value != pattern;
    case '0': return position == 0;
    case '>': return position > 1;
    case '<': return position < int64_t(value.size()) - int64_t(pattern.size()) + 1;
    case '@': return StartsWith(value, pattern);
    case ']': return !StartsWith(value, pattern);
    case '^': return EndsWith(value, pattern);
    case '[': return !EndsWith(value, pattern);
    default: return position > 0;
    }
}

// Filter(conditions [, exclude]): conditions map column keys to filter
// texts. Without exclude a row stays when every condition on one of the
// selection's columns holds; with exclude a row goes when any holds.
VAR_* BaseDB::Filter(GrafVarArray* args) {
    VAR_* self = Cur;
    FillDefaults();
    SelectionData& s = *SelectionOf(self);
    VAR_* excludeArg = ArgAt(args, 1);
    const bool exclude = excludeArg && excludeArg->GetBool();
    VAR_* conditions = ArgAt(args, 0);
    if (!conditions || !IsArray(conditions)) return self;
    GrafVarArray& list = *TableOf(conditions);
    Last();
    std::vector<bool> removed(size_t(s.RowCount()), false);
    for (int32_t row = s.RowCount() - 1; row >= 0; --row) {
        s.RowIndex = row;
        bool keep = !exclude;
        GrafNode* node = list.Head;
        for (int32_t i = 0; i < list.Count && keep == !exclude; ++i, node = node->NextNode) {
            const int column = s.Columns.IndexOf(node->Name);
            if (column < 0) continue;
            s.ColIndex = column;
            TempRef value(CellValue());
            keep = PassesFilter(value->GetStr(), static_cast<VAR_*>(node->Value)->GetStr());
        }
        removed[size_t(row)] = keep == exclude;
    }
    RemoveRows(s.Rows, removed);
    // The walk is over: the cursors start afresh, as in a new selection.
    s.ColIndex = -1;
    s.RowIndex = -1;
    return self;
}
