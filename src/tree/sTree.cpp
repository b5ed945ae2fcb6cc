// Nodes of the tree store: creation, attachment, detachment and release.
#include "tree/sTree.h"

#include <algorithm>

#include "tree/TreeWalk.h"
#include "values/scriptvar.h"

namespace {

// Takes a directory's children away from it; the children forget it.
void TakeChildren(TreeDir& dir, std::vector<TreeRef>& into) {
    for (TreeRef& child : dir.Items) {
        if (!child) continue;
        if (child->Parent == &dir) child->Parent = nullptr;
        into.push_back(std::move(child));
    }
    dir.Items.clear();
}

// Marks a node and all of its descendants as no longer part of a tree.
void DetachSubtree(TreeClass& top) {
    ForEachNode(top, [](TreeClass& node) { node.Attached = false; });
}

// Detaches one child that is leaving its directory.
void DetachChild(const TreeRef& child) {
    if (!child) return;
    DetachSubtree(*child);
    child->Parent = nullptr;
}

}  // namespace

TreeClass::~TreeClass() { FreeData(); }

TreeDir* TreeClass::AsDir() { return DirSelf(); }
const TreeDir* TreeClass::AsDir() const { return DirSelf(); }

void TreeClass::AfterLoad(std::string_view, std::string_view, std::string_view) {}

void TreeClass::FreeData() {
    if (!NodeData) return;
    VAR_* cell = NodeData;
    NodeData = nullptr;
    cell->Destroy();
}

// Children that nothing else refers to die here; their own children are
// taken over first, so releasing a deep chain never recurses.
TreeDir::~TreeDir() {
    std::vector<TreeRef> pending;
    TakeChildren(*this, pending);
    while (!pending.empty()) {
        TreeRef node = std::move(pending.back());
        pending.pop_back();
        if (node.use_count() == 1) {
            if (TreeDir* dir = node->AsDir()) TakeChildren(*dir, pending);
        }
    }
}

TreeClass* TreeDir::ChildAt(int64_t index) const {
    if (index < 1 || index > int64_t(Items.size())) return nullptr;
    return Items[size_t(index - 1)].get();
}

void TreeDir::MoveTo(uint32_t index) {
    ChildIndex = index;
    DeepAtSelf = false;
}

void TreeDir::RemoveAt(int64_t index) {
    if (index < 1 || index > int64_t(Items.size())) return;
    const auto at = Items.begin() + (index - 1);
    TreeRef child = std::move(*at);
    Items.erase(at);
    DetachChild(child);
}

void TreeDir::Clear() {
    std::vector<TreeRef> dropped;
    dropped.swap(Items);
    for (const TreeRef& child : dropped) DetachChild(child);
}

void TreeDir::FreeDescendantData() {
    ForEachNode(*this, [this](TreeClass& node) {
        if (&node != this) node.FreeData();
    });
}

void TreeDir::FreeAll() {
    FreeDescendantData();
    Clear();
}

namespace {

// Every root made, so that shutdown can close those still alive.
std::vector<std::weak_ptr<TTree>>& LiveTrees() {
    static std::vector<std::weak_ptr<TTree>> trees;
    return trees;
}

void RememberTree(const std::shared_ptr<TTree>& root) {
    auto& trees = LiveTrees();
    static size_t pruneAt = 64;
    if (trees.size() >= pruneAt) {
        std::erase_if(trees, [](const std::weak_ptr<TTree>& tree) { return tree.expired(); });
        pruneAt = std::max<size_t>(64, trees.size() * 2);
    }
    trees.push_back(root);
}

}  // namespace

std::shared_ptr<TTree> TTree::Create(std::string_view name) {
    auto root = std::make_shared<TTree>();
    root->SetName(name);
    RememberTree(root);
    return root;
}

void CloseAllTrees() {
    std::vector<std::weak_ptr<TTree>> trees;
    trees.swap(LiveTrees());
    for (const auto& tree : trees)
        if (auto root = tree.lock()) root->Close();
}

TreeClass* TTree::AddNode(std::string_view name, std::string_view path, bool directory) {
    return AddNodeFrom(*this, name, path, directory);
}

TreeClass* TTree::AddNodeFrom(TreeClass& start, std::string_view name, std::string_view path, bool directory) {
    TreeClass* target = LocateFrom(start, path);
    TreeDir* dir = target ? target->AsDir() : this;
    if (!dir) dir = target->Parent ? target->Parent : this;
    return AppendNode(*dir, name, directory);
}

TreeClass* TTree::AppendNode(TreeDir& dir, std::string_view name, bool directory) {
    TreeRef node;
    if (directory)
        node = std::make_shared<TTreeDir>();
    else
        node = std::make_shared<TTreeFile>();
    node->Parent = &dir;
    node->Attached = dir.Attached;
    dir.Items.push_back(node);
    LastNode = node;
    node->SetName(name);
    return node.get();
}

void TTree::Close() {
    FreeAll();
    FreeData();
    Attached = false;
    LastNode.reset();
}

TTree* RootOf(TreeClass& node) {
    if (!node.Attached) return nullptr;
    TreeClass* top = &node;
    while (top->Parent) top = top->Parent;
    return dynamic_cast<TTree*>(top);
}
