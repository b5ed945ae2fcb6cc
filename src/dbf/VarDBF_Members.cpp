// The members and named methods of a table cell ("tb.NAME", "tb.Write",
// "tb.Set(...)"). A failure while one runs closes the table before the
// error reaches the script, so that a half-done change is not left open.
#include <algorithm>

#include "dbf/ClassDBF.h"
#include "dbf/VarDBF.h"
#include "values/ArrayType.h"
#include "values/TypeHelpers.h"

namespace {

// Holds a handle for the length of a member call: "Close" may drop the
// cell's own reference while the call still needs the handle.
class HandleHold {
public:
    explicit HandleHold(DBFHandle* handle) : handle_(handle) {
        if (handle_) ++handle_->References;
    }
    ~HandleHold() {
        if (handle_ && --handle_->References == 0) delete handle_;
    }
    HandleHold(const HandleHold&) = delete;
    HandleHold& operator=(const HandleHold&) = delete;
private:
    DBFHandle* handle_;
};

// Runs a member; on failure the table is closed (for every copy), then
// the error goes on to the script with its own text.
template <typename Action>
VAR_* ClosingOnError(DBFHandle* handle, Action&& action) {
    HandleHold hold(handle);
    try {
        return action();
    } catch (const std::exception& error) {
        if (handle) {
            try {
                CloseHandle(*handle);
            } catch (const std::exception&) {
                // The first failure is the one to report.
            }
        }
        if (dynamic_cast<const ScriptError*>(&error)) throw;
        RaiseScriptError(error);
    }
}

constexpr const char* kMemberNames[] = {"Insert", "Clear", "Cashe",   "Cols",   "Rows",    "Size",
                                        "Close",  "IsOpen", "IsMemos", "Deleted", "Read",   "Write",
                                        "Fields", "StrType", "List"};

bool IsMemberName(const std::string& name) {
    return std::find_if(std::begin(kMemberNames), std::end(kMemberNames),
                        [&](const char* member) { return name == member; }) != std::end(kMemberNames);
}

bool IsFieldName(TDBF_Data* engine, const std::string& name) {
    return engine && !name.empty() && engine->FieldIndex(name) != TDBF_Data::kNoField;
}

VAR_* FieldArray(TDBF_Data* engine) { return engine ? FieldListToArray(engine->Fields) : NewArray(); }

VAR_* NameList(TDBF_Data* engine) {
    VAR_* array = NewArray();
    if (engine)
        for (const TDBF_Field& field : engine->Fields.Items())
            TableOf(array)->AddCell(std::to_string(TableOf(array)->Count), NewStr(field.Name));
    return array;
}

// --- named methods (the table cell is the VarDBF type's Cur) -----------------

VarDBF& TableType(void* type) { return *static_cast<VarDBF*>(type); }

template <typename Action>
VAR_* TableMethod(void* type, Action&& action) {
    VarDBF& table = TableType(type);
    TDBF_Data* engine = table.Engine();
    return ClosingOnError(HandleOf(table.Cur), [&] { return action(table.Cur, engine); });
}

uint32_t BlockNumber(VAR_* cell) {
    const int64_t value = cell ? cell->GetInt() : 0;
    return value < 0 || value > int64_t(UINT32_MAX) ? 0 : uint32_t(value);
}

// By(name) is the field's index (255 when absent); By(index) its name.
VAR_* By(void* type, GrafVarArray* args) {
    return TableMethod(type, [&](VAR_*, TDBF_Data* engine) -> VAR_* {
        VAR_* x = ArgAt(args, 0);
        if (x && x->Type && x->Type->Kind == TypeKind::String)
            return NewInt(engine ? engine->FieldIndex(x->GetStr()) : TDBF_Data::kNoField);
        const int64_t index = x ? x->GetInt() : 0;
        const bool inRange = engine && index >= 0 && index < int64_t(engine->FieldCount());
        return NewStr(inRange ? engine->FieldName(int(index)) : std::string());
    });
}

VAR_* MemoRead(void* type, GrafVarArray* args) {
    return TableMethod(type, [&](VAR_*, TDBF_Data* engine) {
        return NewStr(engine ? engine->MemoRead(BlockNumber(ArgAt(args, 0))) : std::string());
    });
}

VAR_* MemoWrite(void* type, GrafVarArray* args) {
    return TableMethod(type, [&](VAR_*, TDBF_Data* engine) {
        const uint32_t block = BlockNumber(ArgAt(args, 0));
        return NewInt(engine ? engine->MemoWrite(block, ArgText(args, 1)) : block);
    });
}

// Set([name: value, ...]) stores the entries and writes the record.
VAR_* Set(void* type, GrafVarArray* args) {
    return TableMethod(type, [&](VAR_* self, TDBF_Data* engine) {
        if (!engine) return self;
        VAR_* values = ArgAt(args, 0);
        if (values && IsArray(values)) {
            GrafVarArray& list = *TableOf(values);
            GrafNode* node = list.Head;
            for (int32_t i = 0; i < list.Count; ++i, node = node->NextNode)
                engine->SetField(Variant::FromStr(node->Name), static_cast<VAR_*>(node->Value)->GetVariant());
        }
        engine->WriteCurrent(true, false);
        return self;
    });
}

// Line(v0, v1, ...) stores argument i into field i, except Null ones,
// and writes the record.
VAR_* Line(void* type, GrafVarArray* args) {
    return TableMethod(type, [&](VAR_* self, TDBF_Data* engine) {
        if (!engine) return self;
        for (int32_t i = 0; args && i < args->Count; ++i) {
            VAR_* value = args->CellAt(i);
            if (value && value->Type != Types.Null) engine->SetField(Variant::FromInt(i), value->GetVariant());
        }
        engine->WriteCurrent(true, false);
        return self;
    });
}

}  // namespace

void VarDBF::Create() {
    varBaseDB::Create();
    Methods.AddMethod("By", By, this);
    Methods.AddMethod("MemoRead", MemoRead, this);
    Methods.AddMethod("MemoWrite", MemoWrite, this);
    Methods.AddMethod("Set", Set, this);
    Methods.AddMethod("Line", Line, this);
}

VAR_* VarDBF::Method(const std::string& name, VAR_* arg, bool write) {
    return ClosingOnError(HandleOf(Cur), [&]() -> VAR_* {
        if (!write) {
            if (VAR_* result = ReadMember(name)) return result;
        } else if (WriteMember(name, arg)) {
            return NewNull();
        }
        return varBaseDB::Method(name, arg, write);
    });
}

bool VarDBF::HasMethod(const std::string& name) {
    return IsMemberName(name) || IsFieldName(Engine(), name) || varBaseDB::HasMethod(name);
}

// Nil when the name is none of the table's own members.
VAR_* VarDBF::ReadMember(const std::string& name) {
    VAR_* self = Cur;
    TDBF_Data* engine = Engine();
    if (name == "Close") return CloseTable();
    if (!IsMemberName(name)) {
        if (!IsFieldName(engine, name)) return nullptr;
        return NewFromVariant(engine->GetField(Variant::FromStr(name)));
    }
    if (name == "IsOpen") return NewBool(engine && engine->IsOpen());
    if (name == "IsMemos") return NewBool(engine && engine->HasMemoFile());
    if (name == "Fields") return FieldArray(engine);
    if (name == "List") return NameList(engine);
    if (!engine) {
        const bool returnsTable = name == "Insert" || name == "Clear" || name == "Read" || name == "Write";
        if (returnsTable) return self;
        return name == "Deleted" ? NewBool(false) : NewInt(0);
    }
    if (name == "Insert") return engine->Append(true), self;
    if (name == "Clear") return engine->ClearBuffer(false), self;
    if (name == "Read") return engine->ReadCurrent(true, false), self;
    if (name == "Write") return engine->WriteCurrent(true, false), self;
    if (name == "Cashe") return NewInt(engine->CacheBlock);
    if (name == "Cols") return NewInt(int64_t(engine->FieldCount()));
    if (name == "Rows") return NewInt(engine->RecordCount());
    if (name == "Size") return NewInt(engine->RecordLength());
    if (name == "Deleted") return NewBool(engine->IsDeleted());
    return NewInt(engine->CodePage);  // "StrType"
}

// False when the name is none of the table's writable members.
bool VarDBF::WriteMember(const std::string& name, VAR_* value) {
    TDBF_Data* engine = Engine();
    const bool own = name == "Cashe" || name == "Deleted" || name == "StrType";
    if (!own && !IsFieldName(engine, name)) return false;
    if (!engine || !value) return true;
    if (name == "Cashe")
        engine->CacheBlock = uint16_t(std::clamp<int64_t>(value->GetInt(), 0, UINT16_MAX));
    else if (name == "Deleted")
        engine->MarkDeleted(value->GetBool());
    else if (name == "StrType")
        engine->CodePage = uint8_t(std::clamp<int64_t>(value->GetInt(), 0, UINT8_MAX));
    else
        engine->SetField(Variant::FromStr(name), value->GetVariant());
    return true;
}

// The table is closed for every copy of the cell, and this cell becomes
// Null. Like any slot that changes its own cell's type, it settles the
// wrapper's binding through ClearData.
VAR_* VarDBF::CloseTable() {
    VAR_* self = Cur;
    std::string failure;
    if (DBFHandle* handle = HandleOf(self)) {
        try {
            CloseHandle(*handle);
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }
    self->ClearData();
    self->Type = Types.Null;
    self->Bind();
    self->MakePayload();
    self->Unbind();
    if (!failure.empty()) throw ScriptError(failure);
    return self;
}
