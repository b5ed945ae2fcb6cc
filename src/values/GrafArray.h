// The ordered, named list behind every collection: array entries, value
// attributes, argument lists, variable tables, library tables and method
// tables. Entries keep insertion order, names may repeat, and a cursor
// (visible to scripts through dumps and iteration) is moved by lookups.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "values/NameIndex.h"

class Variant;

struct GrafNode {
    GrafNode* PrevNode = nullptr;
    GrafNode* NextNode = nullptr;
    std::string Name;
    void* Value = nullptr;
    int32_t Pos = 0;  // position in the list, while the list keeps positions current

    // Large arrays hold one node an entry: nodes come from a pool.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
};

class GrafArray {
public:
    using NewFn = void* (*)();
    using FreeFn = void (*)(void* value);
    using CloneFn = void* (*)(void* value);
    // -1, 0 or 1 for (value a, value b, name a, name b).
    using Comparator = int (*)(void* a, void* b, const std::string& nameA, const std::string& nameB);

    GrafArray() = default;
    GrafArray(const GrafArray&) = delete;
    GrafArray& operator=(const GrafArray&) = delete;
    virtual ~GrafArray();

    int Add(std::string name, void* value, bool front = false);
    void Put(const Variant& key, void* value);
    void* Get(const Variant& key);
    // The same lookups without building a variant (used by hot paths).
    void PutByName(std::string_view name, void* value);
    void* GetByName(std::string_view name);  // Find, then the cursor's value
    void* GetAt(int position);               // Seek, nil when out of range

    bool Find(std::string_view name);
    int IndexOf(std::string_view name);
    int LastIndexOf(std::string_view name);
    std::string NameAt(int position);
    bool DeleteAt(int position);
    void Clear();
    void Reverse();
    void Rotate(int n);
    void SortByName();
    void SortWith(Comparator compare);

    void First();
    void Last();
    void Next();
    void Prev();
    void Seek(int target);
    std::string CurrentName() const;
    void* CurrentValue() const;
    void SaveCursor();
    void RestoreCursor();

    // Copies this list's entries (through OnClone) into an empty list of
    // the same kind.
    void CloneInto(GrafArray& target) const;

    GrafNode* Head = nullptr;
    GrafNode* CurNode = nullptr;
    GrafNode* SavedNode = nullptr;
    int32_t CurIndex = -1;
    int32_t Count = 0;
    int32_t SavedIndex = -1;
    bool NotFound = false;
    bool Wrapped = false;
    bool SavedWrapped = false;
    NewFn OnNew = nullptr;
    FreeFn OnFree = nullptr;
    CloneFn OnClone = nullptr;

private:
    bool Search(std::string_view name, bool forwards);
    void Unlink(GrafNode* node);
    void ExchangeSort(bool (*before)(GrafNode*, GrafNode*, void*), void* context);
    static bool NumericKey(const Variant& key, int64_t& position);

    // Long lists answer forward name searches from a side index instead of
    // a scan. The index and the node positions are rebuilt only after the
    // scans since the last rebuild have cost twice the list's length, so
    // a list that keeps changing shape never pays more than its scans did.
    bool IndexReady();
    void Renumber();
    NameIndex index_;
    bool indexed_ = false;          // index_ matches the list
    bool positionsValid_ = true;    // every node's Pos is its position
    int64_t scanWork_ = 0;          // nodes tested by scans since the last rebuild
};

struct VAR_;
class GrafVarArray;

// A table of value cells. The table owns its cells: storing a cell clears
// its Temp flag, removing it destroys it.
class GrafVarArray : public GrafArray {
public:
    GrafVarArray();
    ~GrafVarArray() override;

    GrafVarArray* Clone() const;  // deep copies of the cells

    VAR_* GetCell(const Variant& key);  // a new Temp Null cell when absent
    void PutCell(const Variant& key, VAR_* cell);
    void AddCell(std::string name, VAR_* cell, bool front = false);
    // Name lookups that neither move the cursor for good nor create cells.
    VAR_* CellByName(std::string_view name);  // nil when absent; cursor kept on the match
    VAR_* CellAt(int position);                // nil when out of range
    VAR_* CurrentCell() const { return static_cast<VAR_*>(CurrentValue()); }

    void AppendCopies(GrafVarArray& other);
    std::string Join(std::string_view separator);
    std::vector<std::string> ValueTexts();
    std::string Dump();
    void DumpTo(std::string& out);  // the same text, appended to `out`

    // The argument table of a call (see the member comment in the .cpp).
    static GrafVarArray* MakeArgs(VAR_* const* cells, int lastIndex, bool copy, bool named);
};

using MethodCode = VAR_* (*)(void* object, GrafVarArray* args);

struct MethodRecord {
    MethodCode Code = nullptr;
    void* Object = nullptr;
};

// A table of named built-in methods of a type.
class GrafFuncArray : public GrafArray {
public:
    GrafFuncArray();
    ~GrafFuncArray() override;
    void AddMethod(std::string name, MethodCode code, void* object);
    const MethodRecord* GetMethod(std::string_view name);  // nil when absent
};
