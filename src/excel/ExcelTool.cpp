#include "excel/ExcelTool.h"

#include <functional>
#include <vector>

#include "excel/AutomationFactory.h"

namespace {

constexpr int kLastCell = 11;  // xlCellTypeLastCell

const AutoRef& ObjectOf(const Variant& target) {
    if (target.Kind() != VarKind::Dispatch || !target.Object())
        throw AutomationError("the automation target is not an object");
    return target.Object();
}

// Late-bound calls. Arguments travel in a vector the callee may write
// back to (by reference).
Variant Get(const Variant& target, const char* member, std::vector<Variant> args = {}) {
    return ObjectOf(target)->Invoke(member, InvokeKind::Get, args);
}

Variant Call(const Variant& target, const char* member, std::vector<Variant> args = {}) {
    return ObjectOf(target)->Invoke(member, InvokeKind::Call, args);
}

void Put(const Variant& target, const char* member, Variant value) {
    std::vector<Variant> args{std::move(value)};
    ObjectOf(target)->Invoke(member, InvokeKind::Put, args);
}

Variant Int4(int value) { return Variant::FromInt(value, VarKind::I4); }
Variant Text(const std::string& text) { return Variant::FromStr(text); }
Variant Flag(bool flag) { return Variant::FromBool(flag); }

// Runs its action when the scope ends, also while an error unwinds.
class AtEnd {
public:
    explicit AtEnd(std::function<void()> action) : action_(std::move(action)) {}
    ~AtEnd() { action_(); }
    AtEnd(const AtEnd&) = delete;
    AtEnd& operator=(const AtEnd&) = delete;

private:
    std::function<void()> action_;
};

}  // namespace

TExcelTools::TExcelTools() : App(Variant::MakeNull()) { ResetSelection(); }

TExcelTools& ExcelTools() {
    static TExcelTools tools;
    return tools;
}

template <class Body> void TExcelTools::Guard(Body body) {
    Ok = true;
    try {
        body();
    } catch (const std::exception&) {
        Ok = false;
    }
}

Variant TExcelTools::RangeBase() const {
    if (IsSelected(Worksheet)) return Worksheet;
    return IsSelected(Workbook) ? Workbook : App;
}

Variant TExcelTools::SheetsBase() const { return IsSelected(Workbook) ? Workbook : App; }

Variant TExcelTools::ActiveBookBase() { return IsSelected(Workbook) ? Workbook : Get(App, "ActiveWorkbook"); }

void TExcelTools::SetAlerts(bool on) { Put(App, "DisplayAlerts", Flag(on)); }

// --- application and workbooks ---

bool TExcelTools::Connect() {
    Guard([&] { App = Variant::FromObject(CreateAutomationObject("Excel.Application")); });
    return Ok;
}

bool TExcelTools::Quit() {
    Guard([&] {
        SetAlerts(false);
        Call(App, "Quit");
    });
    return Ok;
}

void TExcelTools::SetVisible(bool flag) {
    Guard([&] {
        Put(App, "visible", Flag(flag));
        Visible = flag;
    });
}

bool TExcelTools::AddWorkbook() {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] { Call(Get(App, "WorkBooks"), "Add"); });
    return Ok;
}

bool TExcelTools::OpenWorkbook(const std::string& fileName) {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] { Call(Get(App, "WorkBooks"), "Open", {Text(fileName)}); });
    return Ok;
}

// An error between the two alert writes leaves alerts off, as intended:
// the next guarded operation switches them off again anyway.
bool TExcelTools::SaveWorkbook() {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        SetAlerts(false);
        Call(ActiveBookBase(), "Save");
        SetAlerts(true);
    });
    return Ok;
}

bool TExcelTools::SaveWorkbookAs(const std::string& fileName) {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        SetAlerts(false);
        Call(ActiveBookBase(), "SaveAs", {Text(fileName)});
        SetAlerts(true);
    });
    return Ok;
}

bool TExcelTools::CloseWorkbook() {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        SetAlerts(false);
        Call(ActiveBookBase(), "Close");
        SetAlerts(true);
    });
    return Ok;
}

bool TExcelTools::CloseAllWorkbooks() {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        SetAlerts(false);
        Call(Get(App, "WorkBooks"), "Close");
        SetAlerts(true);
    });
    return Ok;
}

int TExcelTools::WorkbookCount() {
    AtEnd reset([this] { ResetSelection(); });
    int count = -1;
    Guard([&] { count = int(Get(Get(App, "Workbooks"), "Count").ToInt()); });
    return Ok ? count : -1;
}

std::string TExcelTools::WorkbookName(int index) {
    AtEnd stale([this] { SelectionStale = true; });
    std::string name;
    Guard([&] { name = Get(Get(App, "Workbooks", {Int4(index)}), "Name").ToText(); });
    return Ok ? name : std::string();
}

std::string TExcelTools::WorkbookFullName() {
    AtEnd reset([this] { ResetSelection(); });
    if (!IsSelected(Workbook)) return {};
    return Get(Workbook, "FullName").ToText();
}

void TExcelTools::ActivateWorkbook() {
    if (IsSelected(Workbook)) Call(Workbook, "Activate");
}

// --- selection ---

void TExcelTools::ResetSelection() {
    Workbook = Unset();
    Worksheet = Unset();
}

void TExcelTools::SelectWorkbook(const Variant& key) {
    ResetSelection();
    Workbook = Get(App, "Workbooks", {key});
}

void TExcelTools::SelectActiveWorkbook() {
    ResetSelection();
    Workbook = Get(App, "ActiveWorkbook");
}

void TExcelTools::SelectSheet(const Variant& key) {
    Worksheet = Get(Get(ActiveBookBase(), "Sheets"), "Item", {key});
}

void TExcelTools::SelectActiveSheet() { Worksheet = Get(ActiveBookBase(), "ActiveSheet"); }

TExcelTools& TExcelTools::Select(const Variant& key) {
    if (SelectionStale) {
        SelectionStale = false;
        ResetSelection();
    }
    if (!IsSelected(Workbook)) SelectWorkbook(key);
    else if (!IsSelected(Worksheet)) SelectSheet(key);
    return *this;
}

void TExcelTools::ShowSheet() {
    if (IsSelected(Worksheet)) Call(Worksheet, "Select");
}

// --- sheets ---

bool TExcelTools::AddSheet(const std::string& name) {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        Target = Call(Get(SheetsBase(), "Sheets"), "Add");
        Put(Target, "Name", Text(name));
    });
    return Ok;
}

int TExcelTools::SheetCount() {
    AtEnd reset([this] { ResetSelection(); });
    int count = -1;
    Guard([&] {
        Target = Get(SheetsBase(), "Sheets");
        count = int(Get(Target, "Count").ToInt());
    });
    return Ok ? count : -1;
}

std::string TExcelTools::SheetName(int index) {
    AtEnd stale([this] { SelectionStale = true; });
    std::string name;
    Guard([&] {
        Target = Get(ActiveBookBase(), "Sheets");
        name = Get(Get(Target, "Item", {Int4(index)}), "Name").ToText();
    });
    return Ok ? name : std::string();
}

bool TExcelTools::DeleteSheet(const Variant& key) {
    AtEnd reset([this] { ResetSelection(); });
    Guard([&] {
        SetAlerts(false);
        Target = Get(SheetsBase(), "Sheets", {key});
        Call(Target, "Delete");
        SetAlerts(true);
    });
    return Ok;
}

std::string TExcelTools::CurrentName() {
    AtEnd reset([this] { ResetSelection(); });
    if (IsSelected(Worksheet)) return Get(Worksheet, "Name").ToText();
    if (IsSelected(Workbook)) return Get(Workbook, "Name").ToText();
    return {};
}

void TExcelTools::Rename(const std::string& name) {
    AtEnd reset([this] { ResetSelection(); });
    if (IsSelected(Worksheet)) Put(Worksheet, "Name", Text(name));
    else if (IsSelected(Workbook)) Put(Workbook, "Name", Text(name));
}

// --- ranges and cells ---

void TExcelTools::TargetRange(const std::string& address) {
    AtEnd stale([this] { SelectionStale = true; });
    Guard([&] { Target = Get(RangeBase(), "Range", {Text(address)}); });
}

void TExcelTools::TargetRangeSpan(const std::string& first, const std::string& last) {
    AtEnd stale([this] { SelectionStale = true; });
    Guard([&] { Target = Get(RangeBase(), "Range", {Text(first), Text(last)}); });
}

void TExcelTools::TargetCell(int row, int column) {
    AtEnd stale([this] { SelectionStale = true; });
    Guard([&] { Target = Get(RangeBase(), "Cells", {Int4(row), Int4(column)}); });
}

Variant TExcelTools::GetRangeValue(const std::string& address) {
    TargetRange(address);
    return Ok ? Get(Target, "Value") : Int4(0);
}

void TExcelTools::SetRangeValue(const std::string& address, const Variant& value) {
    TargetRange(address);
    if (Ok) Put(Target, "Value", value);
}

Variant TExcelTools::GetCellValue(int row, int column) {
    TargetCell(row, column);
    return Ok ? Get(Target, "Value") : Int4(0);
}

void TExcelTools::SetCellValue(int row, int column, const Variant& value) {
    TargetCell(row, column);
    if (Ok) Put(Target, "Value", value);
}

// Clear, cut, copy and paste select their range first and then act on the
// application's selection, as a user would.
void TExcelTools::ActOnRange(const std::string& first, const std::string* last, const char* member, bool paste) {
    if (last) TargetRangeSpan(first, *last);
    else TargetRange(first);
    if (!Ok) return;
    Call(Target, "Select");
    if (paste) Call(Get(App, "ActiveSheet"), "Paste");
    else Call(Get(App, "Selection"), member);
}

void TExcelTools::ClearRange(const std::string& address) { ActOnRange(address, nullptr, "ClearContents", false); }
void TExcelTools::ClearRange(const std::string& first, const std::string& last) { ActOnRange(first, &last, "ClearContents", false); }
void TExcelTools::CutRange(const std::string& address) { ActOnRange(address, nullptr, "Cut", false); }
void TExcelTools::CutRange(const std::string& first, const std::string& last) { ActOnRange(first, &last, "Cut", false); }
void TExcelTools::CopyRange(const std::string& address) { ActOnRange(address, nullptr, "Copy", false); }
void TExcelTools::CopyRange(const std::string& first, const std::string& last) { ActOnRange(first, &last, "Copy", false); }
void TExcelTools::PasteAt(const std::string& address) { ActOnRange(address, nullptr, nullptr, true); }
void TExcelTools::PasteAt(const std::string& first, const std::string& last) { ActOnRange(first, &last, nullptr, true); }

std::unique_ptr<TExcelFormat> TExcelTools::FormatRange(const std::string& address) {
    AtEnd stale([this] { SelectionStale = true; });
    std::unique_ptr<TExcelFormat> format;
    Guard([&] {
        Target = Get(RangeBase(), "Range", {Text(address)});
        format = std::make_unique<TExcelFormat>(*this, Target);
    });
    return format;
}

std::unique_ptr<TExcelFormat> TExcelTools::FormatRange(const std::string& first, const std::string& last) {
    AtEnd stale([this] { SelectionStale = true; });
    std::unique_ptr<TExcelFormat> format;
    Guard([&] {
        Target = Get(RangeBase(), "Range", {Text(first), Text(last)});
        format = std::make_unique<TExcelFormat>(*this, Target);
    });
    return format;
}

int TExcelTools::LastUsedRow() {
    Target = Get(RangeBase(), "Cells");
    return int(Get(Call(Target, "SpecialCells", {Int4(kLastCell), Variant::Missing()}), "Row").ToInt());
}

int TExcelTools::LastUsedColumn() {
    Target = Get(RangeBase(), "Cells");
    return int(Get(Call(Target, "SpecialCells", {Int4(kLastCell), Variant::Missing()}), "Column").ToInt());
}
