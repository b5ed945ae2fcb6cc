// The tree store: named hierarchies of directories and leaves kept in
// memory, found by paths of names or child numbers, and saved to and
// loaded from the "#File of Dir" text format.
//
// Ownership. A directory owns its children through shared references; a
// script value that refers to a node holds another shared reference, so a
// node outlives its directory for as long as a value still points at it.
// Removing a node from its directory (RemoveAt, Clear, Load, FreeAll,
// Close) detaches it and its whole subtree: `Attached` becomes false and
// the detached top node forgets its parent. Script values treat a
// detached node as Null, so nothing ever follows a pointer into a part of
// a tree that is gone. `Parent` is a plain back pointer; a directory that
// dies clears the back pointers of the children that outlive it.
//
// Every walk over a tree is iterative: a loaded file can nest directories
// as deep as it has lines, and the stack must not depend on that.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct VAR_;
class TreeClass;
class TreeDir;
class TTree;

using TreeRef = std::shared_ptr<TreeClass>;

// The counter behind the name macro AUTO; saved in and loaded from files.
extern int64_t AutoCounter;
// Start-up of the store: the counter begins at 0.
void ResetAutoCounter();

// Every node: a leaf, a directory or a root.
class TreeClass : public std::enable_shared_from_this<TreeClass> {
public:
    TreeClass() = default;
    TreeClass(const TreeClass&) = delete;
    TreeClass& operator=(const TreeClass&) = delete;
    virtual ~TreeClass();

    virtual const char* ClassName() const = 0;
    virtual uint32_t ChildCount() const { return 0; }
    TreeDir* AsDir();
    const TreeDir* AsDir() const;

    // The node's text in a saved file: its name.
    virtual std::string GetText() const { return Name; }
    // Called for every node read from a file; nothing to do by default.
    virtual void AfterLoad(std::string_view prefix, std::string_view path, std::string_view text);

    // Name := text with the name macros expanded.
    void SetName(std::string_view text);
    // Frees the attached value cell, if any.
    void FreeData();

    std::string Name;
    uint8_t Visible = 1;
    TreeDir* Parent = nullptr;
    VAR_* NodeData = nullptr;  // owned by the node
    bool Attached = true;      // false once removed from its tree (or the tree closed)

protected:
    virtual TreeDir* DirSelf() { return nullptr; }
    virtual const TreeDir* DirSelf() const { return nullptr; }
};

// A node with children.
class TreeDir : public TreeClass {
public:
    ~TreeDir() override;

    uint32_t ChildCount() const override { return uint32_t(Items.size()); }

    // Child at a 1-based index; none outside 1..ChildCount or for an
    // empty entry.
    TreeClass* ChildAt(int64_t index) const;

    // Moves the iteration index (and forgets where a deep search stood).
    void MoveTo(uint32_t index);

    // 1-based index of the first child of that name (case-insensitive,
    // Windows-1251 letters included), 0 when none.
    uint32_t IndexOf(std::string_view name) const;
    // The same, searching from the last child down to the second: the
    // first child is never found.
    uint32_t LastIndexOf(std::string_view name) const;
    // Walks a "\"-separated path of names; ChildIndex tracks each step.
    virtual TreeClass* FindByPath(std::string_view path);
    // Depth-first search by exact name; see the definition for how a
    // continued search resumes.
    TreeClass* FindDeep(std::string_view name, bool resume);

    // Removes the entry at a 1-based index (later entries move up); an
    // index outside 1..ChildCount changes nothing.
    void RemoveAt(int64_t index);
    // Drops every child. Dropped nodes die when nothing refers to them.
    void Clear();
    // Frees the value cells of every descendant, then drops every child.
    void FreeAll();
    // Frees the value cells of every descendant (not of this directory).
    void FreeDescendantData();

    // Children plus the children of every descendant directory.
    uint64_t TotalCount() const;
    // Bubble sort of the children by name in byte order; empty entries stay.
    void Sort();
    void SortAll();

    std::vector<TreeRef> Items;  // an entry may be empty
    uint32_t ChildIndex = 0;     // iteration index, 0-based
    // The last deep search matched this directory itself, so a continued
    // search still has to walk its children from the first.
    bool DeepAtSelf = false;

protected:
    TreeDir* DirSelf() override { return this; }
    const TreeDir* DirSelf() const override { return this; }
};

// A leaf.
class TTreeFile : public TreeClass {
public:
    const char* ClassName() const override { return "TTreeFile"; }
};

// A directory inside a tree.
class TTreeDir : public TreeDir {
public:
    const char* ClassName() const override { return "TTreeDir"; }
};

// The root of a tree.
class TTree : public TreeDir {
public:
    const char* ClassName() const override { return "TTree"; }

    // A new root; the name goes through the name macros.
    static std::shared_ptr<TTree> Create(std::string_view name);

    // Creates a directory or a leaf, appends it where the path points (a
    // leaf's parent when the path ends at a leaf; the root when the path
    // is empty or finds none), then names it, so that %THIS% names the
    // parent's class.
    TreeClass* AddNode(std::string_view name, std::string_view path, bool directory);
    // The same with the path read from one of this tree's nodes.
    TreeClass* AddNodeFrom(TreeClass& start, std::string_view name, std::string_view path, bool directory);
    // Appends a new node to one of this tree's directories, makes it the
    // last node and names it (after attaching it).
    TreeClass* AppendNode(TreeDir& dir, std::string_view name, bool directory);
    // Finds a node by a path of names ("\") and child numbers (">").
    TreeClass* Locate(std::string_view path) { return LocateFrom(*this, path); }
    // The same, reading the path from one of this tree's nodes.
    static TreeClass* LocateFrom(TreeClass& start, std::string_view path);

    void Save(const std::string& fileName) const;
    // Replaces the children by those of the file. On failure the root and
    // the counter are left as they were.
    void Load(const std::string& fileName);
    // Frees every node's value, drops every node and marks the root
    // closed (detached): values that refer into the tree read as Null.
    void Close();

    std::weak_ptr<TreeClass> LastNode;

private:
    void WriteLines(class WholeFileWriter& writer) const;
};

// The names of the node's ancestors below the root and of the node itself,
// outermost first, joined by "\"; empty for a root.
std::string PathOf(const TreeClass& node);
// Closes every tree still alive. Trees are shared by the values that refer
// to them, and a node's value may refer back into its own tree; closing
// them all at shutdown frees such rings.
void CloseAllTrees();
// The root at the top of a node's ancestors, or none when the node is not
// part of a tree any more.
TTree* RootOf(TreeClass& node);

// A stack of 64-bit entries: the saver's child positions.
class BufferClass {
public:
    void Push(int64_t value) { entries_.push_back(value); }
    void Pop() { entries_.pop_back(); }
    int64_t& Top() { return entries_.back(); }
    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<int64_t> entries_;
};
