// The result of one ODBC query: every row as Variants, the column names
// and a row cursor. Rows are read-only once built, so copies of a result
// share them and differ only in their cursor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/odbcFields.h"
#include "values/Variant.h"

struct OdbcColumn {
    std::string name;  // Windows-1251
    FieldKind kind = FieldKind::Unknown;
    int16_t sqlType = 0;
};

using OdbcRow = std::vector<Variant>;

class TODBC_Array {
public:
    TODBC_Array() = default;
    TODBC_Array(std::vector<OdbcColumn> columns, std::vector<OdbcRow> rows);

    int RowCount() const;
    int ColumnCount() const;
    // "ERROR: Not number of Field" for an index outside 0..ColumnCount-1.
    std::string ColumnName(int64_t index) const;
    const OdbcColumn* Column(int64_t index) const;
    // First column named so after trimming, ASCII case ignored; -1 if none.
    int ColumnIndex(std::string_view name) const;
    // A copy of the stored value; the integer 1 when there is no such cell.
    Variant CellAt(int64_t column, int64_t row) const;
    // A numeric key selects the column by index, any other by name; the
    // row is always the cursor's.
    Variant CellByKey(const Variant& key) const;

    // The moves do not check bounds: the cursor may leave the rows (and
    // wraps around below 0), and AtEnd tells.
    void MoveFirst() { Row = 0; }
    void MoveNext() { ++Row; }
    void MovePrior() { --Row; }
    void MoveLast() { Row = uint32_t(RowCount() - 1); }
    bool AtEnd() const { return Row >= uint32_t(RowCount()); }

    uint32_t Row = 0;

private:
    struct Content {
        std::vector<OdbcColumn> columns;
        std::vector<OdbcRow> rows;
    };
    std::shared_ptr<const Content> content_;
};
