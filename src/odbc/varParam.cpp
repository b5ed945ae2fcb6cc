// The connection attributes as a script value: indexing reads and writes
// single attributes, "Set" takes a whole array of them and "Clear" drops
// them all.
#include "odbc/varParam.h"

#include "odbc/ClassODBC.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

varParam::varParam() = default;

ClassODBC* varParam::Owner() { return Cur ? static_cast<ClassODBC*>(Cur->Data.ptr) : nullptr; }

VAR_* varParam::GetIndex(VAR_* key) {
    ClassODBC* owner = Owner();
    if (!owner || !key) return NewStr("");
    return NewStr(OdbcGetPair(owner->Record(), key->GetStr()));
}

void varParam::SetIndex(VAR_* key, VAR_* value) {
    ClassODBC* owner = Owner();
    if (!owner || !key) return;
    OdbcSetPair(owner->Record(), key->GetStr(), value ? value->GetStr() : std::string());
}

std::string varParam::GetTypeName() { return "Creator>ODBC>Param"; }

void varParam::SetCallName() {
    CallOwner = "Creator>ODBC>Param";
    CallName = "";
}

bool varParam::HasMethod(const std::string& name) {
    return name == "Set" || name == "Clear" || DefaultHasMethod(name);
}

VAR_* varParam::Method(const std::string& name, VAR_* arg, bool write) {
    if (write && name == "Set") {
        SetFromArray(arg);
        return Cur;
    }
    if (!write && name == "Clear") {
        if (ClassODBC* owner = Owner()) OdbcClearPairs(owner->Record());
        return Cur;
    }
    return DefaultMethod(name, arg, write);
}

void varParam::SetFromArray(VAR_* array) {
    if (!IsArray(array)) return;
    GrafVarArray* table = TableOf(array);
    if (!table) return;
    // Walk the nodes, not the table's cursor: the array's own position is
    // the script's and stays where it was.
    GrafNode* node = table->Head;
    for (int32_t i = 0; node && i < table->Count; ++i, node = node->NextNode) {
        TempRef key(NewStr(node->Name));
        SetIndex(key.get(), static_cast<VAR_*>(node->Value));
    }
}
