// ClassODBC: the creator "ODBC" in System. It owns the one connection
// record of the run and the parameter cell (ODBC.Param) through which
// scripts set the connection attributes; calling it with SQL text runs a
// query and returns a result value (VarODBC).
//
// The driver manager is not touched here: the first query loads it, so
// scripts that never query run where ODBC is not installed.
#pragma once

#include <memory>

#include "dbf/ScriptDB_Base.h"
#include "odbc/ODBC_cmd.h"
#include "odbc/varParam.h"

class ClassODBC : public ClassCreator {
public:
    ClassODBC();
    ~ClassODBC() override;

    // Makes the parameter cell (once; again after Shutdown).
    void Create() override;
    VAR_* CallArgs(GrafVarArray* args) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;

    // Closes the connection record and frees the parameter cell. Runs
    // before the value model stops, while the cells the parameter cell
    // holds (its attributes) can still be freed through their types; the
    // type object itself stays, since copies of cells may refer to it
    // until the last table is gone. Safe to repeat.
    void Shutdown();

    TODBC& Record() { return record_; }
    VAR_* ParamCell() { return paramCell_; }

private:
    TODBC record_;
    std::unique_ptr<varParam> paramType_;
    VAR_* paramCell_ = nullptr;
};
