// Iterative depth-first walk over a subtree: every node before its
// children, children in order, empty entries skipped. Trees loaded from
// files can be as deep as the file is long, so no walk recurses.
#pragma once

#include <type_traits>
#include <vector>

#include "tree/sTree.h"

// Node is TreeClass or const TreeClass; visit may change the node and the
// order of its children (they are collected after the visit).
template <typename Node, typename Visit>
void ForEachNode(Node& top, Visit&& visit) {
    using Base = std::conditional_t<std::is_const_v<Node>, const TreeClass, TreeClass>;
    std::vector<Base*> pending{&top};
    while (!pending.empty()) {
        Base* node = pending.back();
        pending.pop_back();
        visit(*node);
        if (const auto* dir = node->AsDir()) {
            for (auto it = dir->Items.rbegin(); it != dir->Items.rend(); ++it)
                if (*it) pending.push_back(it->get());
        }
    }
}
