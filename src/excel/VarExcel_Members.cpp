// VarExcel: members by name (the workbook's own members, sheet names and
// cell addresses) and the named methods SaveAs, AddList, Format, Cut,
// Copy, Paste and Clean.
#include <cctype>

#include "excel/ClassExcel.h"
#include "excel/VarExcel.h"
#include "excel/VarExcelFormat.h"
#include "values/TypeHelpers.h"

namespace {

// The workbook's own members, in the order a read tries them.
const char* const kOwnMembers[] = {"Name", "FullName", "ShName", "Save",  "Activate", "Select",
                                   "Delete", "Rows",   "Cols",   "Close", "List"};

bool IsOwnMember(const std::string& name) {
    for (const char* own : kOwnMembers)
        if (name == own) return true;
    return false;
}

// Members every value answers when read (the base's and the defaults);
// a write to one of them must not reach a cell of that name.
bool IsBaseMember(const std::string& name) {
    static const char* const kNames[] = {"Low", "High", "Size", "Type", "EOF", "Element", "to_b", "to_i",
                                         "to_f", "to_s", "Inc",  "Dec",  "Val", "IsNull",  "Empty"};
    for (const char* base : kNames)
        if (name == base) return true;
    return false;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

VarExcel& Self(void* type) { return *static_cast<VarExcel*>(type); }

// --- named methods (Cur is the workbook cell the method was read from) ---

VAR_* SaveAsCode(void* type, GrafVarArray* args) {
    VarExcel& self = Self(type);
    VAR_* cell = self.Cur;
    const std::string file = ArgText(args, 0);
    self.SelectBook();
    // The object goes on with the saved workbook, which now carries the
    // new file's name.
    if (ExcelTools().SaveWorkbookAs(file)) self.Record().Book = BookNameOf(file);
    return cell;
}

VAR_* AddListCode(void* type, GrafVarArray* args) {
    VarExcel& self = Self(type);
    VAR_* cell = self.Cur;
    self.SelectBook();
    ExcelTools().AddSheet(ArgText(args, 0));
    return cell;
}

VAR_* FormatCode(void* type, GrafVarArray* args) {
    VarExcel& self = Self(type);
    self.EnsureSheetName();
    self.SelectOwn();
    TExcelTools& tools = ExcelTools();
    const int count = args ? args->Count : 0;
    if (count < 2) return NewFormatCell(tools.FormatRange(ArgText(args, 0)));
    return NewFormatCell(tools.FormatRange(ArgText(args, 0), ArgText(args, 1)));
}

using OneRange = void (TExcelTools::*)(const std::string&);
using TwoRanges = void (TExcelTools::*)(const std::string&, const std::string&);

// Cut, Copy, Paste and Clean: one address or two corners; none does nothing.
VAR_* ActOnRange(void* type, GrafVarArray* args, OneRange one, TwoRanges two) {
    VarExcel& self = Self(type);
    VAR_* cell = self.Cur;
    self.EnsureSheetName();
    self.SelectOwn();
    TExcelTools& tools = ExcelTools();
    const int count = args ? args->Count : 0;
    if (count == 1) (tools.*one)(ArgText(args, 0));
    if (count >= 2) (tools.*two)(ArgText(args, 0), ArgText(args, 1));
    return cell;
}

VAR_* CutCode(void* type, GrafVarArray* args) {
    return ActOnRange(type, args, &TExcelTools::CutRange, &TExcelTools::CutRange);
}
VAR_* CopyCode(void* type, GrafVarArray* args) {
    return ActOnRange(type, args, &TExcelTools::CopyRange, &TExcelTools::CopyRange);
}
VAR_* PasteCode(void* type, GrafVarArray* args) {
    return ActOnRange(type, args, &TExcelTools::PasteAt, &TExcelTools::PasteAt);
}
VAR_* CleanCode(void* type, GrafVarArray* args) {
    return ActOnRange(type, args, &TExcelTools::ClearRange, &TExcelTools::ClearRange);
}

}  // namespace

bool IsCellName(const std::string& name) {
    size_t letters = 0;
    while (letters < name.size() && IsLetter(name[letters])) ++letters;
    if (letters == 0 || letters > 3) return false;
    for (size_t i = letters; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

void VarExcel::Create() {
    varBaseDB::Create();
    Methods.AddMethod("SaveAs", SaveAsCode, this);
    Methods.AddMethod("AddList", AddListCode, this);
    Methods.AddMethod("Format", FormatCode, this);
    Methods.AddMethod("Cut", CutCode, this);
    Methods.AddMethod("Copy", CopyCode, this);
    Methods.AddMethod("Paste", PasteCode, this);
    Methods.AddMethod("Clean", CleanCode, this);
}

VAR_* VarExcel::Method(const std::string& name, VAR_* arg, bool write) {
    if (!RecordOf(Cur)) {
        // A closed workbook still answers the members every value has.
        if (IsOwnMember(name) || Methods.GetMethod(name)) throw ScriptError("Excel." + name + ": the workbook was closed");
        return DefaultMethod(name, arg, write);
    }
    EnsureSheetName();
    return write ? WriteMember(name, arg) : ReadMember(name);
}

VAR_* VarExcel::ReadMember(const std::string& name) {
    VAR_* self = Cur;
    Rec_Excel& record = Record();
    TExcelTools& tools = ExcelTools();
    if (name == "Name") return NewStr(record.Book);
    if (name == "FullName") {
        SelectBook();
        return NewStr(tools.WorkbookFullName());
    }
    if (name == "ShName") return NewStr(record.Sheet);
    if (name == "Save") {
        SelectOwn();
        tools.SaveWorkbook();
        return self;
    }
    if (name == "Activate") {
        SelectBook();
        tools.ActivateWorkbook();
        return self;
    }
    if (name == "Select") {
        SelectOwn();
        tools.ShowSheet();
        return self;
    }
    if (name == "Delete") {
        SelectBook();
        tools.DeleteSheet(Variant::FromStr(record.Sheet));
        return self;
    }
    if (name == "Rows") return HighRow();
    if (name == "Cols") return LastColumn();
    if (name == "Close") {
        SelectBook();
        tools.CloseWorkbook();
        FreeData(self->Data);
        return NewNull();
    }
    if (name == "List") {
        VAR_* list = NewArray();
        SelectBook();
        const int count = tools.SheetCount();
        for (int i = 1; i <= count; ++i) {
            SelectBook();
            TableOf(list)->AddCell(std::to_string(TableOf(list)->Count), NewStr(tools.SheetName(i)));
        }
        return list;
    }
    if (IsSheetName(name)) return self;
    return ReadCellMember(name);
}

// Members of the base (and the value's attributes) come first; a name that
// addresses a cell then reads the sheet; anything else is Null.
VAR_* VarExcel::ReadCellMember(const std::string& name) {
    VAR_* base = varBaseDB::Method(name, nullptr, false);
    if (base->TypeName != "Null") return base;
    base->Release();
    if (!IsCellName(name)) return NewNull();
    SelectOwn();
    return NewFromVariant(ExcelTools().GetRangeValue(AddressOf(name)));
}

// "ShName" renames the sheet. A name that addresses a cell writes the
// sheet and nothing else, so that a later read of that name reads the
// sheet; the object's own members are not attributes to overwrite.
VAR_* VarExcel::WriteMember(const std::string& name, VAR_* value) {
    Rec_Excel& record = Record();
    if (name == "ShName") {
        if (value && value->TypeName != "Null") {
            const std::string newName = value->GetStr();
            SelectOwn();
            ExcelTools().Rename(newName);
            record.Sheet = newName;
        }
        return NewNull();
    }
    if (IsOwnMember(name) || IsBaseMember(name) || Methods.GetMethod(name)) return NewNull();
    if (!IsCellName(name)) return varBaseDB::Method(name, value, true);
    SelectOwn();
    ExcelTools().SetRangeValue(AddressOf(name), value ? value->GetVariant() : Variant::MakeNull());
    return NewNull();
}

bool VarExcel::HasMethod(const std::string& name) {
    if (IsOwnMember(name)) return true;
    if (!RecordOf(Cur)) return varBaseDB::HasMethod(name);
    if (IsSheetName(name)) return true;
    return varBaseDB::HasMethod(name) || IsCellName(name);
}
