// Start-up and shutdown of the script ODBC objects.
#pragma once

#include <memory>

#include "odbc/ClassODBC.h"
#include "odbc/VarODBC.h"

// Creates the result type and a new creator "ODBC", for the database
// start-up to enter into System (RegisterDatabaseCreators, which owns it
// from then on). Does not load the driver manager: the first query does.
std::unique_ptr<ClassCreator> MakeOdbcCreator();
// Closes the connection record and frees the parameter cell of the
// creator made last; run before the value model stops. Safe to repeat,
// and a no-op when there is no creator.
void StopOdbcLibrary();
// The creator made last, nil when none is alive.
ClassODBC* CurrentOdbcCreator();
