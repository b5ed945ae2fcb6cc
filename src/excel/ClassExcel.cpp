// ClassExcel: opening and creating workbook files, open workbooks by
// index, the application's members; start-up and shutdown of the
// spreadsheet script objects.
#include "excel/ClassExcel.h"

#include <cstdio>

#include "dbf/ScriptDB_Hooks.h"
#include "excel/VarExcel.h"
#include "excel/VarExcelFormat.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

std::unique_ptr<VarExcel> OwnedWorkbookType;
std::unique_ptr<VarExcelFormat> OwnedFormatType;

// The script output routine, reached through System as a script reaches it.
void WriteThroughOutput(const std::string& text) {
    VAR_* output = System ? System->CellByName("Output") : nullptr;
    if (!output) {
        std::fputs((text + "\n").c_str(), stdout);
        return;
    }
    GrafVarArray args;
    args.AddCell("0", NewStr(text));
    TempRef written(output->CallArgs(&args));
}

std::string ReplaceSlashes(std::string text) {
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

}  // namespace

ExcelMessageWriter WriteExcelMessages = WriteThroughOutput;

bool EnsureConnected() {
    TExcelTools& tools = ExcelTools();
    if (tools.App.IsNull()) tools.Connect();
    return !tools.App.IsNull();
}

ClassExcel::ClassExcel() : ClassCreator("Creator>Excel", "Creator>Excel") {}

// Excel(file): the workbook of that file, opened, or created and saved at
// once when no such file exists. A file that exists but cannot be opened
// is never saved over: the call fails instead.
VAR_* ClassExcel::CallArgs(GrafVarArray* args) {
    std::string messages;
    if (!EnsureConnected()) messages += "Not connected for Excel;\r\n";
    TExcelTools& tools = ExcelTools();
    TempRef cell(VAR_::Create(VarExcelType, true));
    const std::string file = ReplaceSlashes(ArgText(args, 0));
    const bool opened = tools.OpenWorkbook(file);
    Rec_Excel& record = *RecordOf(cell.get());
    record.Book = BookNameOf(file);
    bool usable = opened;
    if (opened) {
        messages += "Opening Excel: " + file;
    } else if (TFileHandle::Exists(NativePath(file))) {
        messages += "Error for Excel";
    } else if (tools.AddWorkbook()) {
        messages += "Creating Excel: " + file;
        usable = tools.SaveWorkbookAs(file);
        // A new workbook that could not take the file's name would stay
        // open under a name no object knows.
        if (!usable) tools.CloseWorkbook();
    } else {
        messages += "Error for Excel";
    }
    if (!usable) {
        WriteExcelMessages(messages);
        throw ScriptError("Excel: cannot open or create the workbook " + file);
    }
    tools.ResetSelection();
    tools.Select(Variant::FromStr(record.Book));
    tools.SelectActiveSheet();
    record.Sheet = tools.CurrentName();
    WriteExcelMessages(messages);
    return cell.release();
}

// Excel[1] or Excel["a.xlsx"]: a value for a workbook that is open.
VAR_* ClassExcel::GetIndex(VAR_* key) {
    EnsureConnected();
    TExcelTools& tools = ExcelTools();
    Variant which = key ? key->GetVariant() : Variant::MakeNull();
    if (key && key->Is(TypeKind::Int)) which = Variant::FromInt(Low32(key->GetInt()), VarKind::I4);
    tools.SelectWorkbook(which);
    const std::string name = tools.CurrentName();
    VAR_* cell = VAR_::Create(VarExcelType, true);
    RecordOf(cell)->Book = name;
    return cell;
}

VAR_* ClassExcel::Method(const std::string& name, VAR_* arg, bool write) {
    EnsureConnected();
    if (!write) return ReadMember(name);
    if (name == "Visible") {
        ExcelTools().SetVisible(arg && arg->GetBool());
        return NewNull();
    }
    return DefaultMethod(name, arg, write);
}

VAR_* ClassExcel::ReadMember(const std::string& name) {
    TExcelTools& tools = ExcelTools();
    if (name == "Visible") return NewBool(tools.Visible);
    if (name == "Close") return NewBool(tools.Quit());
    if (name == "CloseAll") return NewBool(tools.CloseAllWorkbooks());
    if (name == "Book") {
        tools.SelectActiveWorkbook();
        return NewStr(tools.CurrentName());
    }
    if (name == "List") {
        VAR_* list = NewArray();
        const int count = tools.WorkbookCount();
        for (int i = 1; i <= count; ++i) TableOf(list)->AddCell(std::to_string(i), NewStr(tools.WorkbookName(i)));
        return list;
    }
    if (name == "Sheild") {
        // The active sheet of the active workbook, whatever was selected last.
        tools.ResetSelection();
        tools.SelectActiveSheet();
        return NewStr(tools.CurrentName());
    }
    return DefaultMethod(name, nullptr, false);
}

bool ClassExcel::HasMethod(const std::string& name) {
    EnsureConnected();
    static const char* const kNames[] = {"Visible", "Close", "CloseAll", "Book", "List", "Sheild"};
    for (const char* member : kNames)
        if (name == member) return true;
    return DefaultHasMethod(name);
}

// --- start-up and shutdown ---------------------------------------------------

// The automation object itself is made on first use and connects to the
// application only when a script first needs it.
std::unique_ptr<ClassCreator> StartExcelObjects() {
    OwnedWorkbookType = std::make_unique<VarExcel>();
    OwnedWorkbookType->Create();
    VarExcelType = OwnedWorkbookType.get();
    OwnedFormatType = std::make_unique<VarExcelFormat>();
    OwnedFormatType->Create();
    VarExcelFormatType = OwnedFormatType.get();
    LastExcelSheet.clear();
    RecordCurrentSheet = RecordExcelSheet;
    return std::make_unique<ClassExcel>();
}

void StopExcelObjects() {
    RecordCurrentSheet = nullptr;
    LastExcelSheet.clear();
    VarExcelType = nullptr;
    VarExcelFormatType = nullptr;
    OwnedWorkbookType.reset();
    OwnedFormatType.reset();
    // A fresh automation object drops the reference to the application
    // (nothing is sent to it): a later start begins without one.
    ExcelTools() = TExcelTools();
}
