// Include: a function value whose payload is a separately compiled script.
// Calling it runs the script with the call's arguments as its local array
// Param. Copies of the value share the compiled script; the script is
// freed with the last value that refers to it.
#pragma once

#include <memory>

#include "compiler/CFuncVar.h"
#include "values/FunctionType.h"

using ScriptHandle = std::shared_ptr<CFuncVar>;

class Include_ : public Function_ {
public:
    Include_();
    CellData NewData() override;      // no script yet
    std::string GetTypeName() override;  // "Include[" + the call name + "]"
    void FreeData(CellData& data) override;
    void CopyData(const CellData& src, CellData& dst) override;
    bool IsNull() override;
    bool IsEmpty() override;
    VAR_* CallArgs(GrafVarArray* args) override;
};

// The one Include type, created by the runtime library's start-up.
extern Include_* IncludeType;

// A new Include temporary for a compiled script (named by the call name).
VAR_* NewInclude(ScriptHandle script);
// The script of an Include cell; nil for other cells.
CFuncVar* IncludedScript(VAR_* cell);
