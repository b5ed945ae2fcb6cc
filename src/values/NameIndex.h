// A side index of a GrafArray: for each name, the first node (in list
// order) that carries it. It only answers "which node would a forward scan
// from the head stop at"; the list still moves its cursor itself, so the
// visible cursor effects of a lookup do not depend on whether the index
// exists.
//
// Open addressing with linear probing over node pointers: 8 bytes a slot
// and at most half the slots in use, so it costs about 16 bytes an entry.
// The names are read from the nodes, which never move while listed.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

struct GrafNode;

class NameIndex {
public:
    // Indexes the nodes of a ring, from its head onwards.
    void Build(GrafNode* head, int count);
    // The first node of that name, nil when none has it.
    GrafNode* Find(std::string_view name) const;
    // A node appended at the end: it becomes the answer for its name only
    // when no earlier node has that name.
    void AddLast(GrafNode* node);
    // A node put in front of all others: the answer for its name from now on.
    void AddFirst(GrafNode* node);

private:
    size_t SlotOf(std::string_view name) const;
    void Grow();
    void Insert(GrafNode* node, bool replace);

    std::vector<GrafNode*> slots_;
    size_t used_ = 0;
};
