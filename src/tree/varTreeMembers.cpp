// Members and named methods of the script tree object.
#include <algorithm>
#include <array>
#include <string_view>

#include "tree/TreeWalk.h"
#include "tree/varTree.h"
#include "values/TypeHelpers.h"

namespace {

constexpr std::array<std::string_view, 16> kMemberNames = {
    "Path", "Data", "DataClear", "Clear", "DestroyList", "Name", "Parent", "Base",
    "Count", "Sort", "SortAll", "List", "Get", "Datas", "to_a", "Close"};

// Keys "-1", "0", "1", ...: the numbering starts one below zero.
VAR_* ChildNames(const TreeDir& dir) {
    VAR_* result = NewArray();
    GrafVarArray& table = *TableOf(result);
    int64_t key = -1;
    for (const TreeRef& child : dir.Items)
        if (child) table.AddCell(std::to_string(key++), NewStr(child->Name));
    return result;
}

// Empty entries have no name to serve as a key and are left out.
VAR_* ChildCells(const std::shared_ptr<TTree>& tree, const TreeDir& dir) {
    VAR_* result = NewArray();
    GrafVarArray& table = *TableOf(result);
    for (const TreeRef& child : dir.Items)
        if (child) table.AddCell(child->Name, NewTreeCellOn(tree, child.get()));
    return result;
}

VAR_* ChildData(const TreeDir& dir) {
    VAR_* result = NewArray();
    GrafVarArray& table = *TableOf(result);
    for (const TreeRef& child : dir.Items)
        if (child && child->NodeData) table.AddCell(child->Name, child->NodeData->Copy());
    return result;
}

// Every descendant's data, each node before its children; the walk leaves
// the descendant directories' indexes at their ends.
VAR_* DescendantData(TreeDir& dir) {
    VAR_* result = NewArray();
    GrafVarArray& table = *TableOf(result);
    ForEachNode(dir, [&](TreeClass& node) {
        if (&node == &dir) return;
        if (node.NodeData) table.AddCell(node.Name, node.NodeData->Copy());
        if (TreeDir* inner = node.AsDir()) inner->MoveTo(inner->ChildCount());
    });
    return result;
}

varTree* OwnerType(void* type) { return static_cast<varTree*>(type); }

VAR_* SaveAs(void* type, GrafVarArray* args) {
    TreeHandle* handle = OwnerType(type)->Handle();
    if (handle && handle->Node == handle->Tree) handle->Tree->Save(ArgText(args, 0));
    return NewNull();
}

VAR_* LoadFile(void* type, GrafVarArray* args) {
    TreeHandle* handle = OwnerType(type)->Handle();
    if (handle && handle->Node == handle->Tree) handle->Tree->Load(ArgText(args, 0));
    return NewNull();
}

VAR_* Index(void* type, GrafVarArray* args) {
    const TreeDir* dir = OwnerType(type)->Dir();
    return NewInt(dir ? dir->IndexOf(ArgText(args, 0)) : 0);
}

VAR_* LastIndex(void* type, GrafVarArray* args) {
    const TreeDir* dir = OwnerType(type)->Dir();
    return NewInt(dir ? dir->LastIndexOf(ArgText(args, 0)) : 0);
}

VAR_* Delete(void* type, GrafVarArray* args) {
    varTree* tree = OwnerType(type);
    VAR_* index = ArgAt(args, 0);
    if (TreeDir* dir = tree->Dir(); dir && index) dir->RemoveAt(index->GetInt());
    return tree->Cur;
}

}  // namespace

void varTree::Create() {
    Object_::Create();
    Methods.AddMethod("SaveAs", SaveAs, this);
    Methods.AddMethod("Load", LoadFile, this);
    Methods.AddMethod("Index", Index, this);
    Methods.AddMethod("rIndex", LastIndex, this);
    Methods.AddMethod("Delete", Delete, this);
}

bool varTree::HasMethod(const std::string& name) {
    if (Node() && std::find(kMemberNames.begin(), kMemberNames.end(), name) != kMemberNames.end()) return true;
    return DefaultHasMethod(name);
}

VAR_* varTree::Method(const std::string& name, VAR_* arg, bool write) {
    if (!Handle()) return DefaultMethod(name, arg, write);
    VAR_* result = write ? WriteMember(name, arg) : ReadMember(name);
    return result ? result : DefaultMethod(name, arg, write);
}

// A member read, or nil for the names the default member access answers.
VAR_* varTree::ReadMember(const std::string& name) {
    VAR_* self = Cur;
    TreeHandle* handle = Handle();
    const std::shared_ptr<TTree> tree = handle->Tree;
    TreeClass* node = handle->Node.get();
    TreeDir* dir = node->AsDir();
    if (name == "Path") return NewStr(PathOf(*node));
    if (name == "Data") return node->NodeData;
    if (name == "DataClear") {
        node->FreeData();
        return self;
    }
    if (name == "Clear" || name == "DestroyList" || name == "Sort" || name == "SortAll") {
        if (dir && name == "Clear") dir->Clear();
        if (dir && name == "DestroyList") dir->FreeAll();
        if (dir && name == "Sort") dir->Sort();
        if (dir && name == "SortAll") dir->SortAll();
        return self;
    }
    if (name == "Name") return NewStr(node->Name);
    if (name == "Parent") return NewTreeCellOn(tree, node->Parent);
    if (name == "Base") return NewTreeCellOn(tree, tree.get());
    if (name == "Count") return NewInt(node->ChildCount());
    if (dir && name == "List") return ChildNames(*dir);
    if (dir && name == "Get") return ChildCells(tree, *dir);
    if (dir && name == "Datas") return ChildData(*dir);
    if (dir && name == "to_a") return DescendantData(*dir);
    if (!dir && (name == "List" || name == "Get" || name == "Datas" || name == "to_a")) return NewArray();
    if (name == "Close" && node == tree.get()) return Close();
    return nullptr;
}

// A member write, or nil for the names the default member access answers.
VAR_* varTree::WriteMember(const std::string& name, VAR_* value) {
    TreeClass* node = Handle()->Node.get();
    if (name == "Data") {
        if (value == node->NodeData) return NewNull();
        node->FreeData();
        if (value) {
            // A node keeps its own cell: a variable's cell is copied, a
            // temporary is taken over.
            VAR_* stored = value->Temp ? value : value->Copy();
            stored->Temp = false;
            node->NodeData = stored;
        }
        return NewNull();
    }
    if (name == "Name") {
        node->SetName(value ? value->GetStr() : std::string());
        return NewNull();
    }
    return nullptr;
}

// Frees the tree and turns this cell into Null. Other cells on the tree
// stay tree values, but their nodes are detached now and they read as
// Null.
VAR_* varTree::Close() {
    VAR_* self = Cur;
    const std::shared_ptr<TTree> tree = Handle()->Tree;
    tree->Close();
    self->ClearData();  // also settles the binding the slot wrapper made
    self->Type = Types.Null;
    self->Bind();
    self->MakePayload();
    self->Unbind();
    return self;
}
