#include "values/GrafArray.h"

#include <exception>

#include "values/scriptvar.h"
#include "values/unitUtils.h"

namespace {

constexpr int kMaxDumpDepth = 256;

void* NewNullCell() { return VAR_::Create(Types.Null, false); }

void FreeCell(void* value) {
    auto* cell = static_cast<VAR_*>(value);
    cell->Temp = true;
    cell->Release();
}

void* CloneCell(void* value) {
    VAR_* copy = static_cast<VAR_*>(value)->Copy();
    copy->Temp = false;
    return copy;
}

void* NewRecord() { return new MethodRecord{}; }
void FreeRecord(void* value) { delete static_cast<MethodRecord*>(value); }
void* CloneRecord(void* value) { return new MethodRecord(*static_cast<MethodRecord*>(value)); }

// Restores a list's cursor however the enclosed code leaves.
class CursorGuard {
public:
    explicit CursorGuard(GrafArray& list)
        : list_(list), node_(list.CurNode), index_(list.CurIndex), wrapped_(list.Wrapped) {}
    ~CursorGuard() {
        list_.CurNode = node_;
        list_.CurIndex = index_;
        list_.Wrapped = wrapped_;
    }
private:
    GrafArray& list_;
    GrafNode* node_;
    int32_t index_;
    bool wrapped_;
};

}  // namespace

GrafVarArray::GrafVarArray() {
    OnNew = NewNullCell;
    OnFree = FreeCell;
    OnClone = CloneCell;
}

GrafVarArray::~GrafVarArray() { Clear(); }

GrafVarArray* GrafVarArray::Clone() const {
    auto* copy = new GrafVarArray;
    CloneInto(*copy);
    return copy;
}

VAR_* GrafVarArray::GetCell(const Variant& key) {
    VAR_* cell;
    {
        CursorGuard keep(*this);
        cell = static_cast<VAR_*>(Get(key));
    }
    return cell ? cell : NewNull();
}

void GrafVarArray::PutCell(const Variant& key, VAR_* cell) {
    cell->Temp = false;
    CursorGuard keep(*this);
    Put(key, cell);
}

void GrafVarArray::AddCell(std::string name, VAR_* cell, bool front) {
    cell->Temp = false;
    Add(std::move(name), cell, front);
}

VAR_* GrafVarArray::CellByName(std::string_view name) {
    return static_cast<VAR_*>(GetByName(name));
}

VAR_* GrafVarArray::CellAt(int position) {
    return static_cast<VAR_*>(GetAt(position));
}

void GrafVarArray::AppendCopies(GrafVarArray& other) {
    GrafNode* node = other.Head;
    const int32_t count = other.Count;
    for (int32_t i = 0; i < count; ++i, node = node->NextNode)
        AddCell(node->Name, static_cast<VAR_*>(node->Value)->Copy());
}

std::string GrafVarArray::Join(std::string_view separator) {
    std::string text;
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i, node = node->NextNode) {
        if (i > 0) text += separator;
        text += static_cast<VAR_*>(node->Value)->GetStr();
    }
    return text;
}

std::vector<std::string> GrafVarArray::ValueTexts() {
    std::vector<std::string> texts;
    texts.reserve(size_t(Count));
    GrafNode* node = Head;
    for (int32_t i = 0; i < Count; ++i, node = node->NextNode)
        texts.push_back(static_cast<VAR_*>(node->Value)->GetStr());
    return texts;
}

// "<CurIndex/Count:Wrapped> " then "name => Tag:[ text ]; " per entry.
std::string GrafVarArray::Dump() {
    std::string text;
    DumpTo(text);
    return text;
}

void GrafVarArray::DumpTo(std::string& text) {
    text += '<';
    AppendDecimal(text, CurIndex);
    text += '/';
    AppendDecimal(text, Count);
    text += Wrapped ? ":True> " : ":False> ";
    // Arrays nested thousands deep would exhaust the stack: past a depth no
    // real data reaches, the inner entries are shown as an ellipsis.
    static int depth = 0;
    if (depth >= kMaxDumpDepth) {
        text += "... ";
        return;
    }
    struct DepthGuard {
        DepthGuard() { ++depth; }
        ~DepthGuard() { --depth; }
    } guard;
    CursorGuard keep(*this);
    GrafNode* node = Head;
    const int32_t count = Count;
    for (int32_t i = 0; i < count && node; ++i, node = node->NextNode) {
        auto* cell = static_cast<VAR_*>(node->Value);
        text += node->Name;
        text += " => ";
        text += cell ? cell->TypeTag() : "Nil";
        text += ":[ ";
        const size_t before = text.size();
        try {
            if (cell) cell->AppendStr(text);
            else text += "Null";
            text += " ]; ";
        } catch (const std::exception&) {
            text.resize(before);
            text += "ERROR ];";
        }
    }
}

// Builds a call's argument table from cells[0..lastIndex]. Unnamed: each
// cell is one argument named by the running count. Named: a cell gives
// the name (its text; the cell is released) and the next cell the value.
// Absent cells become Null values.
GrafVarArray* GrafVarArray::MakeArgs(VAR_* const* cells, int lastIndex, bool copy, bool named) {
    auto* args = new GrafVarArray;
    for (int i = 0; i <= lastIndex; ++i) {
        std::string name = std::to_string(args->Count);
        if (named) {
            if (VAR_* key = cells[i]) {
                name = key->GetStr();
                key->Release();
            }
            ++i;
        }
        VAR_* value = i <= lastIndex ? cells[i] : nullptr;
        if (!value) {
            args->Add(std::move(name), nullptr);
        } else {
            args->AddCell(std::move(name), copy ? value->Copy() : value);
        }
    }
    return args;
}

GrafFuncArray::GrafFuncArray() {
    OnNew = NewRecord;
    OnFree = FreeRecord;
    OnClone = CloneRecord;
}

GrafFuncArray::~GrafFuncArray() { Clear(); }

void GrafFuncArray::AddMethod(std::string name, MethodCode code, void* object) {
    Add(std::move(name), new MethodRecord{code, object});
}

const MethodRecord* GrafFuncArray::GetMethod(std::string_view name) {
    return static_cast<const MethodRecord*>(GetByName(name));
}
