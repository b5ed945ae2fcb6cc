#include "shell/Startup.h"

#include <unistd.h>

#include <cstdio>

#include "dbf/ScriptDB.h"
#include "dbf/ScriptDB_Hooks.h"
#include "excel/ClassExcel.h"
#include "odbc/OdbcLibrary.h"
#include "tree/varTree.h"
#include "values/scriptvar.h"
#include "vm/FailedRuns.h"
#include "vm/RuntimeLibrary.h"
#include "vm/RuntimeState.h"

namespace {

std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// The console is usable when the greeting line can be written.
bool GreetConsole() {
    return std::fputs("Programm Run\n", stdout) >= 0 && std::fflush(stdout) == 0;
}

}  // namespace

void StartProgram(const std::string& exePath) {
    StartValueModel(exePath, CurrentDirectory());
    // Library registration. System's entries keep this order:
    // "DBF", "Excel", "ODBC", then "Input", "Output", "Include", "Diap", "Tree".
    // --- database creators (DBF, Excel, ODBC) ---
    RegisterDatabaseCreators(StartExcelObjects(), MakeOdbcCreator());
    // Index and range instructions tell the workbook objects which sheet
    // was addressed last.
    RecordCurrentObject = NoteIndexedValue;
    // --- tree type ---
    RegisterTreeLibrary();
    // --- runtime functions (Input, Output, Include, Diap) ---
    StartRuntimeLibrary();
    // --- the Tree function ---
    GlobalFunctions.Tree = RegisterTreeFunction();
    ConsoleAvailable = GreetConsole();
    // --- embedded-code hook of string literals ---
    InstallEmbeddedCodeHook();
}

void StopProgram() {
    // Failed runs kept for the error report hold cells: free them while
    // the types still exist; the Include type outlives the tables.
    ReleaseFailedScripts();
    // Trees whose nodes hold values that refer back into them are freed
    // here, while their cells' types still exist.
    StopTreeLibrary();
    // The ODBC creator frees its parameter cell while the types of the
    // attribute cells it may hold still exist.
    StopOdbcLibrary();
    StopValueModel();
    StopDatabaseCreators();
    StopExcelObjects();
    StopRuntimeLibrary();
}
