// Start-up and shutdown of the value model: the type singletons and the
// global tables Globals, Consts and System.
#include <cmath>

#include "values/scriptvar.h"

GrafVarArray* Globals = nullptr;
GrafVarArray* Consts = nullptr;
GrafVarArray* System = nullptr;

namespace {

void AddConst(const char* name, VAR_* cell) { Consts->AddCell(name, cell); }

}  // namespace

void StartValueModel(const std::string& exePath, const std::string& currentDir) {
    CreateBuiltinTypes();
    Globals = new GrafVarArray;
    Consts = new GrafVarArray;
    System = new GrafVarArray;
    AddConst("Ver", NewStr("0.3"));
    AddConst("PI", NewFloat(3.1415926535897932385));
    AddConst("E", NewFloat(std::exp(1.0)));
    AddConst("EXE", NewStr(exePath));
    AddConst("Path", NewStr(currentDir + "/"));
    AddConst("Array", VAR_::Create(Types.Array, false));
}

void StopValueModel() {
    delete System;
    delete Consts;
    delete Globals;
    System = Consts = Globals = nullptr;
    DestroyBuiltinTypes();
    CallOwner.clear();
    CallName.clear();
}
