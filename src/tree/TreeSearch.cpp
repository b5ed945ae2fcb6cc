// Finding nodes: by paths of names and child numbers, by name among the
// children, by a depth-first search, and the path text of a node.
#include <algorithm>

#include "tree/TreeWalk.h"
#include "tree/sTree.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace {

// A child number of a path: a non-negative decimal; anything else selects
// nothing.
bool ParseChildNumber(std::string_view text, int64_t& number) {
    return ParseIntText(text, number) && number >= 0;
}

}  // namespace

uint32_t TreeDir::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i] && SameText1251(Items[i]->Name, name)) return uint32_t(i + 1);
    return 0;
}

uint32_t TreeDir::LastIndexOf(std::string_view name) const {
    for (size_t i = Items.size(); i >= 2; --i)
        if (Items[i - 1] && SameText1251(Items[i - 1]->Name, name)) return uint32_t(i);
    return 0;
}

// A path: an optional leading ">" (the first segment is a child number),
// an optional leading "\", then segments; the separator after a segment
// says how the next one is read: ">" a 1-based child number (0 the
// directory itself), "\" a child name. An unknown name keeps the current
// directory; a number beyond the children finds none; at a leaf the rest
// of the path is ignored.
TreeClass* TTree::LocateFrom(TreeClass& start, std::string_view path) {
    bool byNumber = false;
    if (!path.empty() && path.front() == '>') {
        byNumber = true;
        path.remove_prefix(1);
    }
    if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    TreeClass* current = &start;
    while (!path.empty()) {
        TreeDir* dir = current->AsDir();
        if (!dir) break;
        const size_t separator = path.find_first_of(">\\");
        const std::string_view segment = path.substr(0, separator);
        bool nextByNumber = byNumber;
        if (separator == std::string_view::npos) {
            path = {};
        } else {
            nextByNumber = path[separator] == '>';
            path.remove_prefix(separator + 1);
        }
        if (byNumber) {
            int64_t number = 0;
            if (!ParseChildNumber(segment, number)) return nullptr;
            if (number != 0) current = dir->ChildAt(number);
            if (!current) return nullptr;
        } else if (const uint32_t index = dir->IndexOf(segment)) {
            current = dir->ChildAt(index);
        }
        byNumber = nextByNumber;
    }
    return current;
}

TreeClass* TreeDir::FindByPath(std::string_view path) {
    TreeDir* dir = this;
    for (;;) {
        const size_t separator = path.find('\\');
        const std::string_view head = path.substr(0, separator);
        const std::string_view rest =
            separator == std::string_view::npos ? std::string_view{} : path.substr(separator + 1);
        const uint32_t index = dir->IndexOf(head);
        dir->MoveTo(index);
        TreeClass* child = dir->ChildAt(index);
        if (!child) return nullptr;
        TreeDir* childDir = child->AsDir();
        if (rest.empty() || !childDir) return child;
        dir = childDir;
        path = rest;
    }
}

// The walk visits a directory before its children (names compare
// exactly). Where it stands is kept in the directories themselves: each
// directory on the way to the last match has its ChildIndex on the entry
// that leads there, and a matched directory has DeepAtSelf set, since its
// own children are still to come. A continued search follows that chain
// down from this directory and resumes right after the last match, so
// repeated continued searches meet every match exactly once, in the order
// a fresh search would.
TreeClass* TreeDir::FindDeep(std::string_view name, bool resume) {
    struct Frame {
        TreeDir* dir;
        size_t next;  // the next position to look at
    };
    std::vector<Frame> frames;
    if (resume) {
        TreeDir* dir = this;
        for (;;) {
            if (dir->DeepAtSelf) {
                dir->DeepAtSelf = false;
                frames.push_back({dir, 0});
                break;
            }
            // An index stepped before the first child (one below zero)
            // resumes at the first child.
            frames.push_back({dir, size_t(uint32_t(dir->ChildIndex + 1))});
            TreeClass* at = dir->ChildIndex < dir->Items.size() ? dir->Items[dir->ChildIndex].get() : nullptr;
            TreeDir* inner = at ? at->AsDir() : nullptr;
            if (!inner) break;
            dir = inner;
        }
    } else {
        if (Name == name) {
            DeepAtSelf = true;
            return this;
        }
        MoveTo(0);
        frames.push_back({this, 0});
    }
    while (!frames.empty()) {
        Frame& top = frames.back();
        if (top.next >= top.dir->Items.size()) {
            frames.pop_back();
            continue;
        }
        const size_t position = top.next++;
        top.dir->ChildIndex = uint32_t(position);
        TreeClass* child = top.dir->Items[position].get();
        if (!child) continue;
        TreeDir* childDir = child->AsDir();
        if (child->Name == name) {
            if (childDir) childDir->DeepAtSelf = true;
            return child;
        }
        if (childDir) {
            childDir->MoveTo(0);
            frames.push_back({childDir, 0});
        }
    }
    return nullptr;
}

uint64_t TreeDir::TotalCount() const {
    uint64_t total = 0;
    ForEachNode(*this, [&total](const TreeClass& node) { total += node.ChildCount(); });
    return total;
}

// The result of a bubble sort that swaps neighbours only when the left
// name is greater and never moves or compares an empty entry: each run of
// entries between empty ones ends sorted, equal names keeping their order.
// A stable sort of each run gives the same order without the quadratic
// cost on large directories.
void TreeDir::Sort() {
    const auto byName = [](const TreeRef& a, const TreeRef& b) { return a->Name < b->Name; };
    auto runStart = Items.begin();
    while (runStart != Items.end()) {
        runStart = std::find_if(runStart, Items.end(), [](const TreeRef& e) { return e != nullptr; });
        const auto runEnd = std::find(runStart, Items.end(), nullptr);
        std::stable_sort(runStart, runEnd, byName);
        runStart = runEnd;
    }
}

void TreeDir::SortAll() {
    ForEachNode(*this, [](TreeClass& node) {
        if (TreeDir* dir = node.AsDir()) dir->Sort();
    });
}

std::string PathOf(const TreeClass& node) {
    std::vector<const std::string*> names;
    for (const TreeClass* at = &node; at->Parent; at = at->Parent) names.push_back(&at->Name);
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (it != names.rbegin()) path += '\\';
        path += **it;
    }
    return path;
}
