#include "values/NameIndex.h"

#include <functional>

#include "values/GrafArray.h"

namespace {
constexpr size_t kMinSlots = 64;
}

size_t NameIndex::SlotOf(std::string_view name) const {
    const size_t mask = slots_.size() - 1;
    size_t slot = std::hash<std::string_view>{}(name) & mask;
    while (slots_[slot] && slots_[slot]->Name != name) slot = (slot + 1) & mask;
    return slot;
}

void NameIndex::Build(GrafNode* head, int count) {
    size_t size = kMinSlots;
    while (size < size_t(count) * 2) size *= 2;
    slots_.assign(size, nullptr);
    used_ = 0;
    GrafNode* node = head;
    for (int i = 0; i < count; ++i, node = node->NextNode) Insert(node, false);
}

GrafNode* NameIndex::Find(std::string_view name) const {
    if (slots_.empty()) return nullptr;
    return slots_[SlotOf(name)];
}

void NameIndex::AddLast(GrafNode* node) { Insert(node, false); }

void NameIndex::AddFirst(GrafNode* node) { Insert(node, true); }

void NameIndex::Insert(GrafNode* node, bool replace) {
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    GrafNode*& slot = slots_[SlotOf(node->Name)];
    if (!slot) {
        slot = node;
        ++used_;
    } else if (replace) {
        slot = node;
    }
}

// Rehashing keeps each name's answer: only one node per name is stored.
void NameIndex::Grow() {
    std::vector<GrafNode*> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? kMinSlots : old.size() * 2, nullptr);
    for (GrafNode* node : old)
        if (node) slots_[SlotOf(node->Name)] = node;
}
