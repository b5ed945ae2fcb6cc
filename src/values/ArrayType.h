// Array: the script's ordered associative array. The payload is a named
// table (GrafVarArray) whose entries keep insertion order and may share
// names; indexing goes by name, and an appended entry is named by the
// entry count at the moment of insertion. The iteration cursor is the
// table's own cursor, so each array value keeps its position.
#pragma once

#include "values/ObjectType.h"

class Array_ : public Object_ {
public:
    Array_();

    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetIndex(VAR_* key, VAR_* value) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    std::string GetStr() override;
    void SetStr(const std::string& text) override;
    CellData NewData() override;
    std::string GetTypeName() override;
    void FreeData(CellData& data) override;
    VAR_* CallArgs(GrafVarArray* args) override;
    void SetCallName() override;
    void Create() override;
    bool IsNull() override;
    bool IsEmpty() override;
    void CopyData(const CellData& src, CellData& dst) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    int32_t Size() override;
    VAR_* Inc() override;
    VAR_* Dec() override;
    VAR_* Neg() override;
    VAR_* Add(VAR_* arg) override;
    VAR_* Sub(VAR_* arg) override;
    VAR_* BitAnd(VAR_* arg) override;
    VAR_* BitOr(VAR_* arg) override;
    VAR_* BitXor(VAR_* arg) override;
    bool Equal(VAR_* arg) override;
    bool NotEqual(VAR_* arg) override;
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    VAR_* Element() override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

private:
    GrafVarArray& Table();
    // The member reads that are not entries or defaults; nil for other names.
    VAR_* ListMember(const std::string& name);
};

bool IsArray(VAR_* cell);

// Keeps a table's cursor (node, index and wrap flag) for a scope, so that
// lookups made on a script's behalf do not show in its dumps or loops.
class CursorKeeper {
public:
    explicit CursorKeeper(GrafArray& table)
        : table_(table), node_(table.CurNode), index_(table.CurIndex), wrapped_(table.Wrapped) {}
    ~CursorKeeper() {
        table_.CurNode = node_;
        table_.CurIndex = index_;
        table_.Wrapped = wrapped_;
    }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

private:
    GrafArray& table_;
    GrafNode* node_;
    int32_t index_;
    bool wrapped_;
};

// Stores under a name as SetIndex does: the entry GetIndex would find
// takes the value, else a new entry is appended (a temporary is stored
// as it is, any other value as a copy).
void StoreByName(GrafVarArray& table, const std::string& name, VAR_* value);
// Appends a value named by the entry count (front: inserted first); a
// temporary is taken over, any other value copied.
void AppendCounted(GrafVarArray& table, VAR_* value, bool front = false);
