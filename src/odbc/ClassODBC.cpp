// The creator "ODBC": the parameter cell, the last return code and the
// query that turns SQL text into a result value.
#include "odbc/ClassODBC.h"

#include "odbc/VarODBC.h"
#include "values/TypeHelpers.h"

ClassODBC::ClassODBC() : ClassCreator("Creator>ODBC", "Creator>ODBC") {}

ClassODBC::~ClassODBC() { Shutdown(); }

void ClassODBC::Create() {
    ClassCreator::Create();
    if (paramCell_) return;
    if (!paramType_) {
        paramType_ = std::make_unique<varParam>();
        paramType_->Create();
    }
    paramCell_ = VAR_::Create(paramType_.get(), false);
    paramCell_->Data.ptr = this;
}

void ClassODBC::Shutdown() {
    OdbcClose(record_);
    OdbcClearPairs(record_);
    if (paramCell_) {
        paramCell_->Temp = true;
        paramCell_->Release();
        paramCell_ = nullptr;
    }
}

// The connection is opened and closed inside the call, so every query
// sees the attributes as they are at that moment. A failing connection or
// statement raises nothing: the result is then empty (or has columns and
// no rows) and "Result" tells what ODBC said. Only a missing driver
// manager is an error.
VAR_* ClassODBC::CallArgs(GrafVarArray* args) {
    TempRef absent;
    VAR_* sql = ArgAt(args, 0);
    if (!sql) {
        absent.reset(NewNull());
        sql = absent.get();
    }
    const std::string text = sql->GetStr();
    return NewResultCell(OdbcQuery(record_, text));
}

bool ClassODBC::HasMethod(const std::string& name) {
    return name == "Param" || name == "Result" || DefaultHasMethod(name);
}

VAR_* ClassODBC::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        // The cell itself, not a copy: writes through it reach the record.
        if (name == "Param") return paramCell_ ? paramCell_ : NewNull();
        if (name == "Result") return NewInt(record_.lastReturnCode);
    }
    return DefaultMethod(name, arg, write);
}
