// The script tree object: payload, text, size, iteration, deep searches by
// index and range, and calling a tree value with a path.
#include "tree/varTree.h"

#include <algorithm>
#include <limits>

#include "values/TypeHelpers.h"

varTree* TreeType = nullptr;

namespace {

// The iteration index as scripts see it: 1-based; a directory stepped
// before its first child shows position 0.
int64_t ScriptPosition(const TreeDir& dir) { return int64_t(int32_t(dir.ChildIndex)) + 1; }

TreeClass* ChildAtIndex(const TreeDir& dir) { return dir.ChildAt(int64_t(dir.ChildIndex) + 1); }

std::string WithBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

VAR_* NewTreeCellOn(const std::shared_ptr<TTree>& tree, TreeClass* node) {
    if (!tree || !node || !node->Attached) return NewNull();
    VAR_* cell = VAR_::Create(EnsureTreeType(), true);
    cell->Data.ptr = new TreeHandle{tree, node->shared_from_this()};
    return cell;
}

VAR_* NewTreeCell(const std::string& name) {
    const std::shared_ptr<TTree> root = TTree::Create(name);
    return NewTreeCellOn(root, root.get());
}

varTree* EnsureTreeType() {
    // One type object for the whole run; it outlives every cell of its
    // type, which the value model destroys with its tables.
    static varTree singleton;
    if (!TreeType) {
        singleton.Create();
        TreeType = &singleton;
    }
    return TreeType;
}

bool IsTree(VAR_* cell) { return cell && TreeType && cell->Type == TreeType; }

varTree::varTree() = default;

TreeHandle* varTree::Handle() {
    auto* handle = static_cast<TreeHandle*>(Cur->Data.ptr);
    if (!handle || !handle->Node || !handle->Node->Attached) return nullptr;
    return handle;
}

TreeClass* varTree::Node() {
    TreeHandle* handle = Handle();
    return handle ? handle->Node.get() : nullptr;
}

TreeDir* varTree::Dir() {
    TreeClass* node = Node();
    return node ? node->AsDir() : nullptr;
}

CellData varTree::NewData() { return CellData{nullptr}; }

void varTree::FreeData(CellData& data) {
    auto* handle = static_cast<TreeHandle*>(data.ptr);
    data.ptr = nullptr;
    delete handle;  // may free the tree, and with it the cells its nodes hold
}

void varTree::CopyData(const CellData& src, CellData& dst) {
    FreeData(dst);
    if (const auto* handle = static_cast<const TreeHandle*>(src.ptr)) dst.ptr = new TreeHandle(*handle);
}

std::string varTree::GetTypeName() { return "Tree"; }

void varTree::SetCallName() {
    CallOwner = "Tree";
    CallName = "";
}

bool varTree::IsNull() { return Node() == nullptr; }
bool varTree::IsEmpty() { return Node() == nullptr; }

std::string varTree::GetStr() {
    TreeClass* node = Node();
    if (!node) return Type_::GetStr();
    const TreeDir* dir = node->AsDir();
    return "Tree(" + std::to_string(dir ? ScriptPosition(*dir) : 1) + "/" +
           std::to_string(dir ? dir->TotalCount() : 0) + ", \"" + PathOf(*node) + "\")";
}

int32_t varTree::Size() {
    const TreeDir* dir = Dir();
    if (!dir) return 0;
    return int32_t(std::min<uint64_t>(dir->TotalCount(), uint64_t(std::numeric_limits<int32_t>::max())));
}

VAR_* varTree::GetIndex(VAR_* key) {
    TreeHandle* handle = Handle();
    if (!handle) return Type_::GetIndex(key);
    const std::string name = key->GetStr();
    TreeClass* node = handle->Node.get();
    TreeDir* dir = node->AsDir();
    TreeClass* found = dir ? dir->FindDeep(name, false) : (node->Name == name ? node : nullptr);
    return NewTreeCellOn(handle->Tree, found);
}

VAR_* varTree::GetRange(VAR_* from, VAR_* to) {
    Cur->ExclusiveEnd = false;
    TreeHandle* handle = Handle();
    if (!handle) return Type_::GetRange(from, to);
    TreeDir* dir = handle->Node->AsDir();
    return NewTreeCellOn(handle->Tree, dir ? dir->FindDeep(from->GetStr(), true) : nullptr);
}

VAR_* varTree::GetPosition() {
    TreeClass* node = Node();
    if (!node) return Type_::GetPosition();
    const TreeDir* dir = node->AsDir();
    return NewInt(dir ? ScriptPosition(*dir) : 1);
}

void varTree::SetPosition(VAR_* position) {
    if (TreeDir* dir = Dir(); dir && position) dir->MoveTo(uint32_t(Low32(position->GetInt() - 1)));
}

VAR_* varTree::Element() {
    TreeHandle* handle = Handle();
    if (!handle) return Type_::Element();
    const TreeDir* dir = handle->Node->AsDir();
    return NewTreeCellOn(handle->Tree, dir ? ChildAtIndex(*dir) : nullptr);
}

bool varTree::IsEOF() {
    TreeClass* node = Node();
    if (!node) return Type_::IsEOF();
    const TreeDir* dir = node->AsDir();
    return !dir || dir->ChildIndex >= dir->ChildCount();
}

void varTree::First() {
    if (TreeDir* dir = Dir()) dir->MoveTo(0);
}

void varTree::Next() {
    if (TreeDir* dir = Dir()) dir->MoveTo(dir->ChildIndex + 1);
}

void varTree::Prev() {
    if (TreeDir* dir = Dir()) dir->MoveTo(dir->ChildIndex - 1);
}

void varTree::Last() {
    if (TreeDir* dir = Dir()) dir->MoveTo(dir->ChildCount() - 1);
}

// No argument: the root's last added node, or the child at a directory's
// index. One argument: the node the path finds. Two or more: a new
// directory named by the first, added where the second path points.
// Paths may use "/" for "\"; on a node below the root they are read from
// that node, which is what the path joined to the node's own path means,
// without taking a same-named sibling for the node.
VAR_* varTree::CallArgs(GrafVarArray* args) {
    TreeHandle* handle = Handle();
    if (!handle) return Type_::CallArgs(args);
    const std::shared_ptr<TTree> tree = handle->Tree;
    TreeClass* node = handle->Node.get();
    const int count = args ? args->Count : 0;
    if (count == 0) {
        if (node == tree.get()) return NewTreeCellOn(tree, tree->LastNode.lock().get());
        const TreeDir* dir = node->AsDir();
        return NewTreeCellOn(tree, dir ? ChildAtIndex(*dir) : nullptr);
    }
    const std::string path = WithBackslashes(ArgText(args, count == 1 ? 0 : 1));
    if (count == 1) return NewTreeCellOn(tree, TTree::LocateFrom(*node, path));
    return NewTreeCellOn(tree, tree->AddNodeFrom(*node, ArgText(args, 0), path, true));
}
