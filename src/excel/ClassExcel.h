// ClassExcel: the creator "Excel" in System. Calling it opens a workbook
// file, or creates and saves it when the file does not exist; indexing it
// gives a value for a workbook that is already open; its members answer
// questions about the application as a whole.
//
// Also the start-up and shutdown of the spreadsheet script objects; all of
// them work through the one automation object, ExcelTools().
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "dbf/ScriptDB_Base.h"
#include "excel/ExcelTool.h"

class ClassExcel : public ClassCreator {
public:
    ClassExcel();
    VAR_* CallArgs(GrafVarArray* args) override;
    VAR_* GetIndex(VAR_* key) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;

private:
    VAR_* ReadMember(const std::string& name);
};

// Connects when the application has not been started yet; true when
// there is an application.
bool EnsureConnected();

// Where the creator's messages go: by default the script output routine
// (the "Output" function in System), so they appear among the script's
// own output. Tests may replace it.
using ExcelMessageWriter = std::function<void(const std::string& text)>;
extern ExcelMessageWriter WriteExcelMessages;

// Creates the workbook and format types, installs the recorder of the
// last indexed sheet and returns the creator for RegisterDatabaseCreators.
// Runs after the value model has started.
std::unique_ptr<ClassCreator> StartExcelObjects();
// Frees the types and forgets the application; runs after the value model
// has destroyed its tables.
void StopExcelObjects();
