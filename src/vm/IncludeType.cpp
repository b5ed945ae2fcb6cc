#include "vm/IncludeType.h"

#include "values/TypeHelpers.h"
#include "vm/FailedRuns.h"
#include "vm/VirtualMachine.h"

Include_* IncludeType = nullptr;

namespace {

ScriptHandle* HandleOf(const CellData& data) { return static_cast<ScriptHandle*>(data.ptr); }

}  // namespace

Include_::Include_() = default;

CellData Include_::NewData() { return CellData{nullptr}; }

std::string Include_::GetTypeName() { return "Include[" + CallName + "]"; }

void Include_::FreeData(CellData& data) {
    delete HandleOf(data);
    data.ptr = nullptr;
}

void Include_::CopyData(const CellData& src, CellData& dst) {
    delete HandleOf(dst);
    dst.ptr = HandleOf(src) ? new ScriptHandle(*HandleOf(src)) : nullptr;
}

bool Include_::IsNull() { return !HandleOf(Cur->Data) || !*HandleOf(Cur->Data); }
bool Include_::IsEmpty() { return IsNull(); }

VAR_* Include_::CallArgs(GrafVarArray* args) {
    ScriptHandle* handle = HandleOf(Cur->Data);
    if (!handle || !*handle) return NewNull();
    ScriptHandle script = *handle;  // alive for the call, whatever happens to the cell
    if (IsRunning(*script)) {
        // A script that calls itself: the inner run gets its own locals.
        auto copy = std::make_shared<CFuncVar>(script->Name());
        copy->SetImage(script->Pool(), script->Labels(), script->Code());
        script = std::move(copy);
    }
    VAR_* param = NewArray();
    if (args) TableOf(param)->AppendCopies(*args);
    GrafVarArray start;
    start.AddCell("Param", param);
    try {
        return Run(*script, &start);
    } catch (...) {
        KeepFailedScript(script);
        throw;
    }
}

VAR_* NewInclude(ScriptHandle script) {
    VAR_* cell = VAR_::Create(IncludeType, true);
    cell->Data.ptr = new ScriptHandle(std::move(script));
    return cell;
}

CFuncVar* IncludedScript(VAR_* cell) {
    if (!cell || cell->Type != IncludeType || !HandleOf(cell->Data)) return nullptr;
    return HandleOf(cell->Data)->get();
}
