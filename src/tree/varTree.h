// The script tree object: a value that refers to one node of a tree (a
// root, a directory or a leaf). Many values may refer to nodes of the same
// tree.
//
// Ownership. The payload (TreeHandle) shares the tree's root and the node
// itself. The tree therefore lives while any value refers into it, and a
// node dropped from its tree lives while a value refers to it; such a
// value, and every value on a node of a closed tree, reads as Null (the
// node is no longer attached), so no value ever reaches freed memory.
// A node owns the value cell stored as its data.
#pragma once

#include <memory>
#include <string>

#include "tree/sTree.h"
#include "values/ObjectType.h"

struct TreeHandle {
    std::shared_ptr<TTree> Tree;
    TreeRef Node;
};

class varTree : public Object_ {
public:
    varTree();

    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    std::string GetStr() override;
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
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    VAR_* Element() override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

    // The current cell's handle and node; none for a cell without a node
    // or on a node that is no longer part of a live tree.
    TreeHandle* Handle();
    TreeClass* Node();
    TreeDir* Dir();

private:
    VAR_* ReadMember(const std::string& name);
    VAR_* WriteMember(const std::string& name, VAR_* value);
    VAR_* Close();
};

// The type singleton (made by RegisterTreeLibrary, or on first use).
extern varTree* TreeType;
varTree* EnsureTreeType();

// A new temporary tree value on a new root, the name going through the
// name macros; what the global function "Tree" returns.
VAR_* NewTreeCell(const std::string& name);
// A new temporary value on a node of the tree; a Null value for none.
VAR_* NewTreeCellOn(const std::shared_ptr<TTree>& tree, TreeClass* node);
// Whether a cell is a tree value.
bool IsTree(VAR_* cell);

// The routine behind the global function "Tree" (a method code): the root
// is named by the first argument's text, or "%Time% - %Date%" without one.
VAR_* TreeFunction(void* object, GrafVarArray* args);

// Start-up of the tree library: resets the name counter and creates the
// type singleton. Shutdown closes the trees still alive (run it before
// the value model's tables and types go) and destroys the singleton.
void RegisterTreeLibrary();
// Enters the global function "Tree" (System.<Tree>) into System, which owns
// it; runs after the runtime library's own functions.
VAR_* RegisterTreeFunction();
void StopTreeLibrary();
