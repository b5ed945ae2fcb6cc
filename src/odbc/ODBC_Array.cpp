#include "odbc/ODBC_Array.h"

#include "odbc/odbcText.h"

namespace {

Variant MissingCell() { return Variant::FromInt(1, VarKind::I4); }

}  // namespace

TODBC_Array::TODBC_Array(std::vector<OdbcColumn> columns, std::vector<OdbcRow> rows)
    : content_(std::make_shared<const Content>(Content{std::move(columns), std::move(rows)})) {}

int TODBC_Array::RowCount() const { return content_ ? int(content_->rows.size()) : 0; }

int TODBC_Array::ColumnCount() const { return content_ ? int(content_->columns.size()) : 0; }

const OdbcColumn* TODBC_Array::Column(int64_t index) const {
    if (index < 0 || index >= ColumnCount()) return nullptr;
    return &content_->columns[size_t(index)];
}

std::string TODBC_Array::ColumnName(int64_t index) const {
    const OdbcColumn* column = Column(index);
    return column ? column->name : "ERROR: Not number of Field";
}

int TODBC_Array::ColumnIndex(std::string_view name) const {
    std::string_view wanted = TrimControlAndBlank(name);
    for (int i = 0; i < ColumnCount(); ++i)
        if (SameAsciiText(content_->columns[size_t(i)].name, wanted)) return i;
    return -1;
}

Variant TODBC_Array::CellAt(int64_t column, int64_t row) const {
    if (RowCount() == 0) return MissingCell();
    const std::vector<OdbcRow>& rows = content_->rows;
    if (rows.front().empty()) return MissingCell();
    // Compared as unsigned 32-bit numbers: -1 is far outside, not "last".
    uint32_t columnIndex = uint32_t(column);
    uint32_t rowIndex = uint32_t(row);
    if (rowIndex >= rows.size() || columnIndex >= rows[rowIndex].size()) return MissingCell();
    return rows[rowIndex][columnIndex];
}

Variant TODBC_Array::CellByKey(const Variant& key) const {
    if (key.IsNumericKind()) return CellAt(key.ToInt(), Row);
    return CellAt(ColumnIndex(key.ToText()), Row);
}
