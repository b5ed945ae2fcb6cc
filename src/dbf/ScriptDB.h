// The script database objects: start-up and shutdown of the selection and
// table types and of the creators "DBF", "Excel" and "ODBC" in System.
//
// Source modules plug in by deriving their source type from varBaseDB
// (ScriptDB_Base.h) and their creator from ClassCreator, and by handing the
// creator to RegisterDatabaseCreators.
#pragma once

#include <memory>

#include "dbf/ClassDBF.h"
#include "dbf/ScriptDB_Base.h"
#include "dbf/ScriptDB_Selection.h"
#include "dbf/VarDBF.h"

// Creates the BaseDB and VarDBF singletons and enters the creators into
// System in the order "DBF", "Excel", "ODBC". A creator not given is a
// stand-in whose call fails with a clear error. Runs after the value
// model has started.
void RegisterDatabaseCreators(std::unique_ptr<ClassCreator> excel = nullptr,
                              std::unique_ptr<ClassCreator> odbc = nullptr);
// Frees the types; runs after the value model has destroyed its tables
// (whose cells still need their types).
void StopDatabaseCreators();
