// VarDBF: the payload shared by copies of a table cell, the slots of an
// open table and the cell operations its selections use.
#include "dbf/VarDBF.h"

#include <limits>

#include "dbf/ScriptDB_Selection.h"
#include "values/TypeHelpers.h"

VarDBF* VarDBFType = nullptr;

namespace {

// Drops one reference; the last one frees the engine, which closes it.
void DropReference(DBFHandle* handle) {
    if (handle && --handle->References == 0) delete handle;
}

template <typename Action>
auto Guarded(Action&& action) -> decltype(action()) {
    try {
        return action();
    } catch (const ScriptError&) {
        throw;
    } catch (const std::exception& error) {
        RaiseScriptError(error);
    }
}

// A record number from a script integer; 0 (no record) when out of range.
uint32_t RecordNumber(int64_t value) {
    return value < 1 || value > int64_t(std::numeric_limits<uint32_t>::max()) ? 0 : uint32_t(value);
}

}  // namespace

void RaiseScriptError(const std::exception& error) { throw ScriptError(error.what()); }

DBFHandle* HandleOf(VAR_* cell) {
    if (!cell || !VarDBFType || cell->Type != VarDBFType) return nullptr;
    return static_cast<DBFHandle*>(cell->Data.ptr);
}

void CloseHandle(DBFHandle& handle) {
    if (!handle.Engine) return;
    std::unique_ptr<TDBF_Data> engine = std::move(handle.Engine);
    handle.Unwritten = false;
    engine->Close();
}

VAR_* NewTableCell(std::unique_ptr<TDBF_Data> engine) {
    VAR_* cell = VAR_::Create(VarDBFType, true);
    HandleOf(cell)->Engine = std::move(engine);
    return cell;
}

VarDBF::VarDBF() { Kind = TypeKind::Object; }

TDBF_Data* VarDBF::Engine() {
    DBFHandle* handle = HandleOf(Cur);
    return handle ? handle->Engine.get() : nullptr;
}

// --- payload -------------------------------------------------------------

CellData VarDBF::NewData() {
    CellData data;
    data.ptr = new DBFHandle;
    return data;
}

void VarDBF::FreeData(CellData& data) {
    DropReference(static_cast<DBFHandle*>(data.ptr));
    data.ptr = nullptr;
}

// Copies share the open table.
void VarDBF::CopyData(const CellData& src, CellData& dst) {
    auto* shared = static_cast<DBFHandle*>(src.ptr);
    if (!shared || shared == dst.ptr) return;
    DropReference(static_cast<DBFHandle*>(dst.ptr));
    ++shared->References;
    dst.ptr = shared;
}

std::string VarDBF::GetTypeName() { return "DBF"; }

void VarDBF::SetCallName() {
    CallOwner = "DBF";
    CallName = "";
}

// --- fields by index -----------------------------------------------------

VAR_* VarDBF::GetIndex(VAR_* key) {
    TDBF_Data* engine = Engine();
    if (!engine) return NewNull();
    return Guarded([&] { return NewFromVariant(engine->GetField(key->GetVariant())); });
}

void VarDBF::SetIndex(VAR_* key, VAR_* value) {
    TDBF_Data* engine = Engine();
    if (!engine) return;
    Guarded([&] { engine->SetField(key->GetVariant(), value->GetVariant()); });
}

std::string VarDBF::GetStr() {
    TDBF_Data* engine = Engine();
    const uint32_t recNo = engine ? engine->RecNo() : 0;
    const uint32_t count = engine ? engine->RecordCount() : 0;
    return "DBF(" + std::to_string(recNo) + "/" + std::to_string(count) + ")";
}

// tb() is a selection of every column and every live row.
VAR_* VarDBF::CallArgs(GrafVarArray*) {
    VAR_* self = Cur;
    TDBF_Data* engine = Engine();
    return Guarded([&] {
        if (engine) engine->First(true);
        TempRef selection(NewSelection(self, true));
        selection->GetRange(nullptr, nullptr);
        CollectRows(selection.get());
        if (engine) engine->First(true);
        return selection.release();
    });
}

// --- cursor ----------------------------------------------------------------

int32_t VarDBF::Size() {
    TDBF_Data* engine = Engine();
    return engine ? int32_t(engine->RecordCount()) : 0;
}

VAR_* VarDBF::GetPosition() {
    TDBF_Data* engine = Engine();
    return NewInt(engine ? engine->RecNo() : 0);
}

void VarDBF::SetPosition(VAR_* position) {
    TDBF_Data* engine = Engine();
    if (!engine || !position) return;
    const uint32_t n = RecordNumber(position->GetInt());
    Guarded([&] { if (n) engine->GoToRead(n); });
}

bool VarDBF::IsEOF() {
    TDBF_Data* engine = Engine();
    return !engine || engine->Eof();
}

void VarDBF::First() {
    if (TDBF_Data* engine = Engine()) Guarded([&] { engine->First(true); });
}

void VarDBF::Next() {
    if (TDBF_Data* engine = Engine()) Guarded([&] { engine->Next(true); });
}

void VarDBF::Prev() {
    if (TDBF_Data* engine = Engine()) Guarded([&] { engine->Prev(true); });
}

void VarDBF::Last() {
    if (TDBF_Data* engine = Engine()) Guarded([&] { engine->Last(true); });
}

// --- the five source slots ---------------------------------------------------

// Every record that is not deleted becomes a row; the engine is left at
// the end position.
void VarDBF::CollectRows(VAR_* selectionCell) {
    TDBF_Data* engine = Engine();
    SelectionData* selection = SelectionOf(selectionCell);
    if (!engine || !selection) return;
    Guarded([&] {
        for (engine->First(true); !engine->Eof(); engine->Next(true))
            if (!engine->IsDeleted()) AddRows(*selection, engine->RecNo(), engine->RecNo());
    });
}

VAR_* VarDBF::LowRow() {
    TDBF_Data* engine = Engine();
    return NewInt(engine && engine->RecordCount() > 0 ? 1 : 0);
}

VAR_* VarDBF::HighRow() {
    TDBF_Data* engine = Engine();
    return NewInt(engine ? engine->RecordCount() : 0);
}

VAR_* VarDBF::FirstColumn() {
    TDBF_Data* engine = Engine();
    return NewStr(engine ? engine->FieldName(0) : std::string());
}

VAR_* VarDBF::LastColumn() {
    TDBF_Data* engine = Engine();
    return NewStr(engine ? engine->FieldName(int(engine->FieldCount()) - 1) : std::string());
}

// --- what selections ask -------------------------------------------------------

int64_t VarDBF::ColumnNumberOf(const std::string& key) {
    TDBF_Data* engine = Engine();
    return engine ? engine->FieldIndex(key) : TDBF_Data::kNoField;
}

std::string VarDBF::ColumnKeyOf(int64_t number) {
    TDBF_Data* engine = Engine();
    if (!engine || number < 0 || number >= int64_t(engine->FieldCount())) return {};
    return engine->FieldName(int(number));
}

int64_t VarDBF::HighestColumn() {
    TDBF_Data* engine = Engine();
    return engine ? int64_t(engine->FieldCount()) - 1 : -1;
}

// Before the cursor leaves a record whose buffer a selection changed, the
// buffer is saved (a copy from one range of the table to another reads
// between the stores).
VAR_* VarDBF::CellValue(SelectionData&, int64_t row, const std::string& columnKey) {
    DBFHandle* handle = HandleOf(Cur);
    TDBF_Data* engine = Engine();
    if (!engine || row < 1 || row > int64_t(engine->RecordCount())) return NewNull();
    return Guarded([&] {
        if (uint32_t(row) != engine->RecNo()) {
            if (handle->Unwritten) engine->WriteCurrent(true, false);
            handle->Unwritten = false;
            engine->GoToRead(uint32_t(row));
        }
        return NewFromVariant(engine->GetField(Variant::FromStr(columnKey)));
    });
}

// Moving to another row first saves the buffer in place, but only when it
// is a real record or a record appended for a row beyond the end: the
// buffer at the end position after a walk is a leftover of the last
// record and must not become a new one. Rows beyond the end append one
// record each.
void VarDBF::StoreCell(SelectionData&, int64_t row, const std::string& columnKey, VAR_* value) {
    DBFHandle* handle = HandleOf(Cur);
    TDBF_Data* engine = Engine();
    if (!engine || row < 1 || row > int64_t(std::numeric_limits<uint32_t>::max())) return;
    Guarded([&] {
        const int64_t count = engine->RecordCount();
        const int64_t recNo = engine->RecNo();
        const bool onRecord = recNo <= count;
        const bool onRow = onRecord ? row == recNo : handle->Unwritten && handle->AppendedRow == row;
        if (!onRow) {
            if (onRecord || handle->Unwritten) engine->WriteCurrent(true, false);
            handle->Unwritten = false;
            if (row <= count) {
                engine->GoToRead(uint32_t(row));
            } else {
                engine->Append(true);
                handle->AppendedRow = row;
            }
        }
        engine->SetField(Variant::FromStr(columnKey), value->GetVariant());
        handle->Unwritten = true;
    });
}

void VarDBF::EndRow(SelectionData&) {
    DBFHandle* handle = HandleOf(Cur);
    TDBF_Data* engine = Engine();
    if (!engine) return;
    Guarded([&] {
        if (engine->RecNo() <= engine->RecordCount() || handle->Unwritten) engine->WriteCurrent(true, false);
        handle->Unwritten = false;
    });
}

void VarDBF::StoreThrough(SelectionData&, VAR_* key, VAR_* value) { SetIndex(key, value); }
