// The result value: payload, text, indexing, the row cursor and the
// whole-result selection its call builds.
#include "odbc/VarODBC.h"

#include "dbf/ScriptDB_Selection.h"

VarODBC* VarODBCType = nullptr;

VarODBC* EnsureVarODBCType() {
    // One type object for the whole run: it outlives every result cell,
    // which the value model frees with its tables.
    static VarODBC singleton;
    if (!VarODBCType) {
        singleton.Create();
        VarODBCType = &singleton;
    }
    return VarODBCType;
}

TODBC_Array* ResultOf(VAR_* cell) {
    if (!cell || !VarODBCType || cell->Type != VarODBCType) return nullptr;
    return static_cast<TODBC_Array*>(cell->Data.ptr);
}

VAR_* NewResultCell(TODBC_Array result) {
    VAR_* cell = VAR_::Create(EnsureVarODBCType(), true);
    TODBC_Array& rows = *static_cast<TODBC_Array*>(cell->Data.ptr);
    rows = std::move(result);
    rows.Row = 0;
    return cell;
}

namespace {

VAR_* ByCode(void* type, GrafVarArray* args) {
    auto* self = static_cast<VarODBC*>(type);
    TempRef absent;
    VAR_* arg = args ? args->CellAt(0) : nullptr;
    if (!arg) {
        absent.reset(NewNull());
        arg = absent.get();
    }
    TODBC_Array& result = self->Result();
    if (arg->Is(TypeKind::String)) return NewInt(result.ColumnIndex(arg->GetStr()));
    return NewStr(result.ColumnName(arg->GetInt()));
}

}  // namespace

VarODBC::VarODBC() = default;

void VarODBC::Create() {
    varBaseDB::Create();
    Methods.AddMethod("By", ByCode, this);
}

// Every result cell has rows, possibly none, so the slots need no test
// for a missing payload.
TODBC_Array& VarODBC::Result() { return *static_cast<TODBC_Array*>(Cur->Data.ptr); }

CellData VarODBC::NewData() {
    CellData data;
    data.ptr = new TODBC_Array;
    return data;
}

void VarODBC::FreeData(CellData& data) {
    delete static_cast<TODBC_Array*>(data.ptr);
    data.ptr = nullptr;
}

// The copy shares the rows and starts at the same row; its cursor then
// moves on its own.
void VarODBC::CopyData(const CellData& src, CellData& dst) {
    const auto* from = static_cast<const TODBC_Array*>(src.ptr);
    if (!from) return;
    if (auto* to = static_cast<TODBC_Array*>(dst.ptr))
        *to = *from;
    else
        dst.ptr = new TODBC_Array(*from);
}

std::string VarODBC::GetTypeName() { return "ODBC"; }

void VarODBC::SetCallName() {
    CallOwner = "ODBC";
    CallName = "";
}

// "ODBC(row/rows)": a fresh result of 25 rows reads ODBC(1/25).
std::string VarODBC::GetStr() {
    TODBC_Array& result = Result();
    return Cur->TypeName + "(" + std::to_string(int64_t(int32_t(result.Row)) + 1) + "/" +
           std::to_string(result.RowCount()) + ")";
}

// A numeric key selects a column by number, any other by name; always in
// the current row. No such cell gives the integer 1.
VAR_* VarODBC::GetIndex(VAR_* key) {
    if (!key) return NewFromVariant(Result().CellByKey(Variant()));
    return NewFromVariant(Result().CellByKey(key->GetVariant()));
}

// All columns and all rows, as a selection; the cursor is left on row 0.
VAR_* VarODBC::CallArgs(GrafVarArray*) {
    Result().MoveFirst();
    TempRef selection(NewSelection(Cur, true));
    VAR_* result = selection->GetRange(nullptr, nullptr);
    CollectRows(selection.get());
    Result().MoveFirst();
    if (result == selection.get()) selection.release();
    return result;
}

int32_t VarODBC::Size() { return Result().RowCount(); }

// The row as an unsigned 32-bit number: after Prev on row 0 the cursor
// reads 4294967295.
VAR_* VarODBC::GetPosition() { return NewInt(int64_t(Result().Row)); }

void VarODBC::SetPosition(VAR_* position) {
    if (position) Result().Row = uint32_t(uint64_t(position->GetInt()));
}

bool VarODBC::IsEOF() { return Result().AtEnd(); }
void VarODBC::First() { Result().MoveFirst(); }
void VarODBC::Next() { Result().MoveNext(); }
void VarODBC::Prev() { Result().MovePrior(); }
void VarODBC::Last() { Result().MoveLast(); }
