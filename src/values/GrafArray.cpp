#include "values/GrafArray.h"

#include <cmath>
#include <utility>

#include "values/FixedPool.h"
#include "values/Variant.h"

namespace {
// Below this length a scan is as cheap as a hash lookup.
constexpr int32_t kIndexMinCount = 32;
}

void* GrafNode::operator new(size_t size) {
    return size == sizeof(GrafNode) ? FixedPool<sizeof(GrafNode)>::Take() : ::operator new(size);
}

void GrafNode::operator delete(void* p, size_t size) {
    if (size == sizeof(GrafNode)) FixedPool<sizeof(GrafNode)>::Give(p);
    else ::operator delete(p);
}

GrafArray::~GrafArray() { Clear(); }

int GrafArray::Add(std::string name, void* value, bool front) {
    auto* node = new GrafNode;
    node->Name = std::move(name);
    node->Value = value ? value : (OnNew ? OnNew() : nullptr);
    if (Count == 0) {
        node->PrevNode = node->NextNode = node;
        Head = node;
        positionsValid_ = true;
    } else {
        GrafNode* last = Head->PrevNode;
        node->PrevNode = last;
        node->NextNode = Head;
        last->NextNode = node;
        Head->PrevNode = node;
        if (front) Head = node;
    }
    node->Pos = front ? 0 : Count;
    if (front && Count > 0) positionsValid_ = false;
    if (indexed_) {
        if (front) index_.AddFirst(node); else index_.AddLast(node);
    }
    ++Count;
    CurNode = node;
    CurIndex = front ? 0 : Count - 1;
    return 0;
}

// A key that addresses by position: any integer, float or boolean variant.
bool GrafArray::NumericKey(const Variant& key, int64_t& position) {
    if (!key.IsNumericKind()) return false;
    position = key.ToInt();
    return true;
}

void GrafArray::Put(const Variant& key, void* value) {
    int64_t position = 0;
    if (NumericKey(key, position) && position >= 0 && position < Count) {
        Seek(int(position));
        CurNode->Value = value;
        return;
    }
    PutByName(key.ToText(), value);
}

void GrafArray::PutByName(std::string_view name, void* value) {
    if (Find(name))
        CurNode->Value = value;
    else
        Add(std::string(name), value);
}

void* GrafArray::Get(const Variant& key) {
    int64_t position = 0;
    if (NumericKey(key, position)) {
        if (position < 0 || position >= Count) return nullptr;
        return GetAt(int(position));
    }
    return GetByName(key.ToText());
}

void* GrafArray::GetByName(std::string_view name) {
    return Find(name) ? CurNode->Value : nullptr;
}

void* GrafArray::GetAt(int position) {
    if (position < 0 || position >= Count) return nullptr;
    Seek(position);
    return CurNode->Value;
}

// The search of both directions; on failure the cursor is put back whole.
bool GrafArray::Search(std::string_view name, bool forwards) {
    if (CurIndex < 0 || CurIndex >= Count) {
        NotFound = true;
        return false;
    }
    if (forwards && IndexReady()) {
        // The node a forward scan would stop at, with the cursor state the
        // scan would leave: on the node, Wrapped cleared (by First).
        GrafNode* found = index_.Find(name);
        if (!found) {
            NotFound = true;
            return false;
        }
        CurNode = found;
        CurIndex = found->Pos;
        Wrapped = false;
        return true;
    }
    GrafNode* node = CurNode;
    const int32_t index = CurIndex;
    const bool wrapped = Wrapped;
    if (forwards) First(); else Last();
    for (int32_t step = 0; step < Count; ++step) {
        ++scanWork_;
        if (CurNode->Name == name) return true;
        if (step + 1 < Count) {
            if (forwards) Next(); else Prev();
        }
    }
    NotFound = true;
    CurNode = node;
    CurIndex = index;
    Wrapped = wrapped;
    return false;
}

bool GrafArray::IndexReady() {
    if (indexed_ && positionsValid_) return true;
    if (Count < kIndexMinCount || scanWork_ < 2 * int64_t(Count)) return false;
    if (!indexed_) index_.Build(Head, Count);
    indexed_ = true;
    if (!positionsValid_) Renumber();
    scanWork_ = 0;
    return true;
}

void GrafArray::Renumber() {
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i, node = node->NextNode) node->Pos = i;
    positionsValid_ = true;
}

bool GrafArray::Find(std::string_view name) {
    NotFound = false;
    if (CurIndex >= 0 && CurIndex < Count && CurNode->Name == name) return true;
    return Search(name, true);
}

int GrafArray::IndexOf(std::string_view name) {
    return Search(name, true) ? CurIndex : -1;
}

int GrafArray::LastIndexOf(std::string_view name) {
    return Search(name, false) ? CurIndex : -1;
}

std::string GrafArray::NameAt(int position) {
    if (position < 0 || position >= Count) return {};
    Seek(position);
    return CurNode->Name;
}

void GrafArray::Unlink(GrafNode* node) {
    if (Count == 1) {
        Head = nullptr;
    } else {
        node->PrevNode->NextNode = node->NextNode;
        node->NextNode->PrevNode = node->PrevNode;
        if (Head == node) Head = node->NextNode;
    }
    --Count;
}

bool GrafArray::DeleteAt(int position) {
    if (position < 0 || position >= Count) return false;
    Seek(position);
    GrafNode* node = CurNode;
    // The index may name this node as the first of its name; rebuilt later.
    indexed_ = false;
    if (position != Count - 1) positionsValid_ = false;
    Unlink(node);
    if (OnFree && node->Value) OnFree(node->Value);
    delete node;
    if (Count == 0) {
        CurNode = nullptr;
        CurIndex = -1;
    } else {
        First();
    }
    return true;
}

void GrafArray::Clear() {
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i) {
        GrafNode* next = node->NextNode;
        if (OnFree && node->Value) OnFree(node->Value);
        delete node;
        node = next;
    }
    Head = CurNode = SavedNode = nullptr;
    Count = 0;
    CurIndex = -1;
    SavedIndex = -1;
    Wrapped = false;
    index_ = NameIndex();
    indexed_ = false;
    positionsValid_ = true;
    scanWork_ = 0;
}

void GrafArray::Reverse() {
    if (Count == 0) return;
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i) {
        std::swap(node->PrevNode, node->NextNode);
        node = node->PrevNode;  // the former next node
    }
    indexed_ = false;
    positionsValid_ = false;
    First();
}

void GrafArray::Rotate(int n) {
    if (Count == 0) return;
    for (; n > 0; --n) Head = Head->NextNode;
    for (; n < 0; ++n) Head = Head->PrevNode;
    indexed_ = false;
    positionsValid_ = false;
    First();
}

// The exchange sort: for each i, for each j from the head, swap the
// contents when i orders before j. Names and values move; nodes stay.
void GrafArray::ExchangeSort(bool (*before)(GrafNode*, GrafNode*, void*), void* context) {
    indexed_ = false;  // names move between nodes; positions stay
    GrafArray& list = *this;
    GrafNode* i = list.Head;
    for (int32_t a = 0; a < list.Count; ++a, i = i->NextNode) {
        GrafNode* j = list.Head;
        for (int32_t b = 0; b < list.Count; ++b, j = j->NextNode) {
            if (before(i, j, context)) {
                std::swap(i->Name, j->Name);
                std::swap(i->Value, j->Value);
            }
        }
    }
}

void GrafArray::SortByName() {
    ExchangeSort([](GrafNode* i, GrafNode* j, void*) {
        // std::string compares bytes as unsigned values, a prefix first.
        return i->Name < j->Name;
    }, nullptr);
}

void GrafArray::SortWith(Comparator compare) {
    ExchangeSort([](GrafNode* i, GrafNode* j, void* context) {
        auto cmp = reinterpret_cast<Comparator>(context);
        return cmp(i->Value, j->Value, i->Name, j->Name) == -1;
    }, reinterpret_cast<void*>(compare));
}

void GrafArray::First() {
    CurNode = Head;
    CurIndex = Count > 0 ? 0 : -1;
    Wrapped = false;
}

void GrafArray::Last() {
    CurNode = Head ? Head->PrevNode : nullptr;
    CurIndex = Count - 1;
    Wrapped = false;
}

void GrafArray::Next() {
    if (!CurNode) return;
    CurNode = CurNode->NextNode;
    if (++CurIndex >= Count) {
        CurIndex = 0;
        CurNode = Head;
        Wrapped = true;
    }
}

void GrafArray::Prev() {
    if (!CurNode) return;
    CurNode = CurNode->PrevNode;
    if (--CurIndex < 0) {
        CurIndex = Count - 1;
        Wrapped = true;
    }
}

void GrafArray::Seek(int target) {
    if (target < 0 || target >= Count) {
        NotFound = true;
        return;
    }
    if (CurNode && CurIndex == target) return;
    bool forwards = true;
    if (Count < 11 || !CurNode || CurIndex < 0 || CurIndex >= Count) {
        First();
    } else if (target < CurIndex) {
        if (CurIndex - target < target) forwards = false; else First();
    } else if (target - CurIndex >= Count - target) {
        Last();
        forwards = false;
    }
    if (forwards) {
        while (CurIndex < target) Next();
    } else {
        while (CurIndex > target) Prev();
    }
}

std::string GrafArray::CurrentName() const {
    return (CurNode && CurIndex >= 0 && CurIndex < Count) ? CurNode->Name : std::string();
}

void* GrafArray::CurrentValue() const {
    return (CurNode && CurIndex >= 0 && CurIndex < Count) ? CurNode->Value : nullptr;
}

void GrafArray::SaveCursor() {
    SavedNode = CurNode;
    SavedIndex = CurIndex;
    SavedWrapped = Wrapped;
}

void GrafArray::RestoreCursor() {
    CurNode = SavedNode;
    CurIndex = SavedIndex;
    Wrapped = SavedWrapped;
}

void GrafArray::CloneInto(GrafArray& target) const {
    target.OnNew = OnNew;
    target.OnFree = OnFree;
    target.OnClone = OnClone;
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i, node = node->NextNode)
        target.Add(node->Name, OnClone ? OnClone(node->Value) : node->Value);
}
