// ClassDBF: opening tables, the "Logs" switch and the whole-table methods
// of the "DBF" constant.
#include "dbf/ClassDBF.h"

#include "dbf/DBF_Maint.h"
#include "dbf/VarDBF.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

// Script file names may use "\" as the separator.
std::string BaseName(GrafVarArray* args, int position) { return NativePath(ArgText(args, position)); }

VAR_* Creator(void* type) { return static_cast<ClassDBF*>(type)->Cur; }

template <typename Action>
VAR_* Reporting(Action&& action) {
    try {
        return action();
    } catch (const ScriptError&) {
        throw;
    } catch (const std::exception& error) {
        RaiseScriptError(error);
    }
}

VAR_* PackRec(void*, GrafVarArray* args) {
    return Reporting([&] { return NewInt(PackRecords(BaseName(args, 0))); });
}

VAR_* PackMemo(void*, GrafVarArray* args) {
    return Reporting([&] { return NewInt(PackMemos(BaseName(args, 0))); });
}

VAR_* Fields(void*, GrafVarArray* args) {
    return Reporting([&] { return FieldListToArray(ReadFieldList(BaseName(args, 0))); });
}

VAR_* CreateMethod(void* type, GrafVarArray* args) {
    return Reporting([&] {
        CreateTable(BaseName(args, 0), FieldListFromArray(ArgAt(args, 1)), false);
        return Creator(type);
    });
}

VAR_* ReFields(void*, GrafVarArray* args) {
    return Reporting([&] {
        RestructureTable(BaseName(args, 0), FieldListFromArray(ArgAt(args, 1)));
        return NewNull();
    });
}

VAR_* InsertRec(void*, GrafVarArray* args) {
    return Reporting([&] {
        CopyRecords(BaseName(args, 0), BaseName(args, 1));
        return NewNull();
    });
}

VAR_* Delete(void* type, GrafVarArray* args) {
    return Reporting([&] {
        DeleteTable(BaseName(args, 0));
        return Creator(type);
    });
}

VAR_* ReName(void* type, GrafVarArray* args) {
    return Reporting([&] {
        RenameTable(BaseName(args, 0), BaseName(args, 1));
        return Creator(type);
    });
}

VAR_* AsArray(void*, GrafVarArray* args) {
    return Reporting([&] { return TableAsArray(args); });
}

VAR_* ReVal(void*, GrafVarArray* args) {
    return Reporting([&] { return ReplaceValues(args); });
}

VAR_* CopyDataMethod(void* type, GrafVarArray* args) {
    return Reporting([&] {
        CopyMappedData(args);
        return Creator(type);
    });
}

}  // namespace

ClassDBF::ClassDBF() : ClassCreator("Creator>DBF", "Creator.DBF") { Kind = TypeKind::Object; }

void ClassDBF::Create() {
    ClassCreator::Create();
    Methods.AddMethod("PackRec", PackRec, this);
    Methods.AddMethod("PackMemo", PackMemo, this);
    Methods.AddMethod("Fields", Fields, this);
    Methods.AddMethod("Create", CreateMethod, this);
    Methods.AddMethod("ReFields", ReFields, this);
    Methods.AddMethod("InsertRec", InsertRec, this);
    Methods.AddMethod("Delete", Delete, this);
    Methods.AddMethod("ReName", ReName, this);
    Methods.AddMethod("AsArray", AsArray, this);
    Methods.AddMethod("ReVal", ReVal, this);
    Methods.AddMethod("CopyData", CopyDataMethod, this);
}

// The open waits, within the engine's bound, while another process holds
// the data file.
VAR_* ClassDBF::CallArgs(GrafVarArray* args) {
    return Reporting([&] {
        VAR_* modeArg = ArgAt(args, 1);
        std::string mode = modeArg ? modeArg->GetStr() : "rw";
        if (mode == "Null") mode = "rw";
        auto engine = std::make_unique<TDBF_Data>();
        engine->Open(BaseName(args, 0), mode, true, true, true);
        return NewTableCell(std::move(engine));
    });
}

VAR_* ClassDBF::Method(const std::string& name, VAR_* arg, bool write) {
    if (name == "Logs") {
        if (!write) return NewBool(LogNewTables);
        LogNewTables = arg && arg->GetBool();
        return NewNull();
    }
    return ClassCreator::Method(name, arg, write);
}

bool ClassDBF::HasMethod(const std::string& name) { return name == "Logs" || ClassCreator::HasMethod(name); }
