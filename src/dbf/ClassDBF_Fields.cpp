// Field type descriptions: the type letter, then for 'C' and 'N' ","
// and the length, and "," and the decimal count when it is not 0
// ("C,10", "N,10,2", "N,5", "D").
#include <algorithm>

#include "dbf/ClassDBF.h"
#include "dbf/VarDBF.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace {

// A length or decimal count; `otherwise` when the text is not a number.
unsigned NumberOr(std::string text, unsigned otherwise) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    int64_t value = 0;
    if (!ParseIntText(text, value) || value < 0 || value > 65535) return otherwise;
    return unsigned(value);
}

constexpr size_t kMaxFieldName = 10;

}  // namespace

std::string FieldDescription(const TDBF_Field& field) {
    std::string text(1, field.Type);
    if (field.Type == 'C' || field.Type == 'N') {
        text += "," + std::to_string(field.Length);
        if (field.Decimals != 0) text += "," + std::to_string(field.Decimals);
    }
    return text;
}

// No ',': length 0 (the type's default); one ',': the rest is the length;
// more: the length lies between the first and the last ',' and the
// decimal count follows the last.
FieldShape ParseFieldDescription(const std::string& text) {
    FieldShape shape;
    if (text.empty()) return shape;
    shape.Type = text[0];
    const size_t first = text.find(',');
    if (first == std::string::npos) return shape;
    const size_t last = text.rfind(',');
    if (first == last) {
        shape.Length = NumberOr(text.substr(first + 1), 1);
        return shape;
    }
    shape.Length = NumberOr(text.substr(first + 1, last - first - 1), 1);
    shape.Decimals = NumberOr(text.substr(last + 1), 0);
    return shape;
}

TDBF_Fields FieldListFromArray(VAR_* array) {
    TDBF_Fields fields;
    if (!array || !IsArray(array)) return fields;
    GrafVarArray& list = *TableOf(array);
    GrafNode* node = list.Head;
    for (int32_t i = 0; i < list.Count; ++i, node = node->NextNode) {
        const std::string name = Upper1251(node->Name).substr(0, kMaxFieldName);
        const FieldShape shape = ParseFieldDescription(static_cast<VAR_*>(node->Value)->GetStr());
        if (name.empty() || shape.Type == 0)
            throw ScriptError("Bad field description: \"" + node->Name + "\" => \"" +
                              static_cast<VAR_*>(node->Value)->GetStr() + "\"");
        fields.Add(name, shape.Type, shape.Length, shape.Decimals, false);
    }
    return fields;
}

VAR_* FieldListToArray(const TDBF_Fields& fields) {
    VAR_* array = NewArray();
    for (const TDBF_Field& field : fields.Items()) TableOf(array)->AddCell(field.Name, NewStr(FieldDescription(field)));
    return array;
}
