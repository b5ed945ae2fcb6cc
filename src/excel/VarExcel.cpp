// VarExcel: the record of a workbook cell, the steps every operation
// shares (connection, sheet name, selection by name), cell access by
// index, sheet switching by call, the row cursor and the five source
// slots of the selections.
#include "excel/VarExcel.h"

#include "dbf/ScriptDB_Selection.h"
#include "excel/ClassExcel.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

VarExcel* VarExcelType = nullptr;
std::string LastExcelSheet;

namespace {

Rec_Excel* RecordIn(const CellData& data) { return static_cast<Rec_Excel*>(data.ptr); }

bool LastIsDigit(const std::string& text) { return !text.empty() && text.back() >= '0' && text.back() <= '9'; }

}  // namespace

Rec_Excel* RecordOf(VAR_* cell) {
    if (!cell || !VarExcelType || cell->Type != VarExcelType) return nullptr;
    return RecordIn(cell->Data);
}

std::string BookNameOf(const std::string& fileName) {
    const size_t cut = fileName.find_last_of("\\:/");
    return cut == std::string::npos ? fileName : fileName.substr(cut + 1);
}

void RecordExcelSheet(VAR_* value) {
    if (Rec_Excel* record = RecordOf(value)) LastExcelSheet = record->Sheet;
}

VarExcel::VarExcel() { Kind = TypeKind::Object; }

std::string VarExcel::GetTypeName() { return "Excel"; }

void VarExcel::SetCallName() {
    CallOwner = "Excel";
    CallName = "";
}

// --- payload -------------------------------------------------------------

CellData VarExcel::NewData() {
    CellData data;
    data.ptr = new Rec_Excel;
    return data;
}

void VarExcel::FreeData(CellData& data) {
    delete RecordIn(data);
    data.ptr = nullptr;
}

// A copy has its own record: its own sheet and row over the same workbook.
void VarExcel::CopyData(const CellData& src, CellData& dst) {
    const Rec_Excel* from = RecordIn(src);
    Rec_Excel* to = RecordIn(dst);
    if (from == to) return;
    if (!from) {
        delete to;
        dst.ptr = nullptr;
        return;
    }
    if (to)
        *to = *from;
    else
        dst.ptr = new Rec_Excel(*from);
}

// --- shared steps ------------------------------------------------------------

Rec_Excel& VarExcel::Record() {
    Rec_Excel* record = RecordIn(Cur->Data);
    if (!record) throw ScriptError("Excel: the workbook was closed");
    return *record;
}

void VarExcel::EnsureSheetName() {
    Rec_Excel& record = Record();
    if (!record.Sheet.empty()) return;
    TExcelTools& tools = ExcelTools();
    SelectBook();
    tools.SelectActiveSheet();
    record.Sheet = tools.CurrentName();
}

// Every selection starts from nothing: an operation that left a workbook
// and a sheet selected (the used-area queries do) must not make the next
// object's Select calls fall through to that workbook.
void VarExcel::SelectBook() {
    TExcelTools& tools = ExcelTools();
    tools.ResetSelection();
    tools.Select(Variant::FromStr(Record().Book));
}

void VarExcel::SelectOwn() {
    SelectBook();
    ExcelTools().Select(Variant::FromStr(Record().Sheet));
}

bool VarExcel::IsSheetName(const std::string& name) {
    TExcelTools& tools = ExcelTools();
    Rec_Excel& record = Record();
    bool found = false;
    try {
        SelectBook();
        tools.SelectSheet(Variant::FromStr(name));
        found = true;
    } catch (const std::exception&) {
        found = false;
    }
    tools.ResetSelection();
    if (found) record.Sheet = name;
    return found;
}

int VarExcel::LastRow() {
    EnsureSheetName();
    SelectOwn();
    return ExcelTools().LastUsedRow();
}

// An address from an index or member text: a text without a row number
// addresses that column at the current row.
std::string VarExcel::AddressOf(const std::string& text) {
    return LastIsDigit(text) ? text : text + std::to_string(Record().Position);
}

// --- cells by index ------------------------------------------------------------

VAR_* VarExcel::GetIndex(VAR_* key) {
    EnsureSheetName();
    SelectOwn();
    TExcelTools& tools = ExcelTools();
    if (key && key->Is(TypeKind::Int))
        return NewFromVariant(tools.GetCellValue(Record().Position, Low32(key->GetInt())));
    return NewFromVariant(tools.GetRangeValue(AddressOf(key ? key->GetStr() : std::string())));
}

void VarExcel::SetIndex(VAR_* key, VAR_* value) {
    EnsureSheetName();
    SelectOwn();
    TExcelTools& tools = ExcelTools();
    const Variant written = value ? value->GetVariant() : Variant::MakeNull();
    if (key && key->Is(TypeKind::Int))
        tools.SetCellValue(Record().Position, Low32(key->GetInt()), written);
    else
        tools.SetRangeValue(AddressOf(key ? key->GetStr() : std::string()), written);
}

std::string VarExcel::GetStr() {
    const Rec_Excel* record = RecordIn(Cur->Data);
    if (!record) return Cur->TypeName + "(closed)";
    return Cur->TypeName + "(" + std::to_string(record->Position) + "; " + record->Book + ":>" + record->Sheet + ")";
}

// x(2) or x("Data") switches the sheet; a number or name that names no
// sheet keeps the current one.
VAR_* VarExcel::CallArgs(GrafVarArray* args) {
    VAR_* self = Cur;
    VAR_* choice = ArgAt(args, 0);
    Rec_Excel& record = Record();
    if (choice && choice->Is(TypeKind::Int)) {
        SelectBook();
        const std::string name = ExcelTools().SheetName(Low32(choice->GetInt()));
        if (!name.empty()) record.Sheet = name;
    } else if (choice) {
        IsSheetName(choice->GetStr());
    }
    EnsureSheetName();
    return self;
}

// --- cursor ----------------------------------------------------------------------

int32_t VarExcel::Size() {
    TempRef high(HighRow());
    return Low32(high->GetInt());
}

VAR_* VarExcel::GetPosition() {
    const Rec_Excel* record = RecordIn(Cur->Data);
    return NewInt(record ? record->Position : 0);
}

void VarExcel::SetPosition(VAR_* position) {
    if (Rec_Excel* record = RecordIn(Cur->Data); record && position) record->Position = Low32(position->GetInt());
}

bool VarExcel::IsEOF() {
    if (!RecordIn(Cur->Data)) return true;
    EnsureSheetName();
    if (Record().Position <= 0) return true;
    return LastRow() < Record().Position;
}

void VarExcel::First() {
    if (!RecordIn(Cur->Data)) return;
    EnsureSheetName();
    Record().Position = 1;
}

void VarExcel::Next() {
    if (Rec_Excel* record = RecordIn(Cur->Data)) ++record->Position;
}

void VarExcel::Prev() {
    if (Rec_Excel* record = RecordIn(Cur->Data)) --record->Position;
}

void VarExcel::Last() {
    if (!RecordIn(Cur->Data)) return;
    const int last = LastRow();
    Record().Position = last;
}

// --- the five source slots ---------------------------------------------------------

void VarExcel::CollectRows(VAR_* selection) {
    TempRef low(LowRow());
    TempRef high(HighRow());
    VAR_* result = selection->GetRange(low.get(), high.get());
    if (result != selection) result->Release();
}

VAR_* VarExcel::LowRow() { return NewInt(1); }

VAR_* VarExcel::HighRow() { return NewInt(LastRow()); }

VAR_* VarExcel::FirstColumn() { return NewStr("A"); }

VAR_* VarExcel::LastColumn() {
    EnsureSheetName();
    SelectOwn();
    return NewStr(ColumnLetters(ExcelTools().LastUsedColumn()));
}

int64_t VarExcel::ColumnNumberOf(const std::string& key) { return ColumnNumber(key); }

std::string VarExcel::ColumnKeyOf(int64_t number) {
    return number >= 1 && number <= 702 ? ColumnLetters(int(number)) : std::string();
}

std::string VarExcel::CurrentSheet() {
    EnsureSheetName();
    return Record().Sheet;
}
