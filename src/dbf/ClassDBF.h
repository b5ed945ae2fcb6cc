// ClassDBF: the creator behind the system constant "DBF". Calling it
// opens a table; its methods work on whole tables by base name.
#pragma once

#include "dbf/DBF_Fields.h"
#include "dbf/ScriptDB_Base.h"

class ClassDBF : public ClassCreator {
public:
    ClassDBF();
    void Create() override;
    // DBF(name [, mode]): the table opened (mode "rw" by default), also
    // when it could not be opened ("IsOpen" is then false).
    VAR_* CallArgs(GrafVarArray* args) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
};

// The field list an array of name -> type description gives.
TDBF_Fields FieldListFromArray(VAR_* array);
// The array of name -> type description of a field list.
VAR_* FieldListToArray(const TDBF_Fields& fields);

// Table-walking methods of the creator.
VAR_* TableAsArray(GrafVarArray* args);
VAR_* ReplaceValues(GrafVarArray* args);
void CopyMappedData(GrafVarArray* args);
