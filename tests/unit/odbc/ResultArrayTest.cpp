#include <gtest/gtest.h>

#include "odbc/ODBC_Array.h"

namespace {

TODBC_Array ThreeRows() {
    std::vector<OdbcColumn> columns = {{"Id", FieldKind::Integer, 4}, {"Name", FieldKind::String, 12}};
    std::vector<OdbcRow> rows;
    for (int i = 0; i < 3; ++i)
        rows.push_back({Variant::FromInt(10 + i, VarKind::I4), Variant::FromStr("n" + std::to_string(i))});
    return TODBC_Array(std::move(columns), std::move(rows));
}

void ExpectMissing(const Variant& cell) {
    EXPECT_EQ(VarKind::I4, cell.Kind());
    EXPECT_EQ(1, cell.IntValue());
}

TEST(ResultArray, ColumnsByIndexAndByName) {
    TODBC_Array result = ThreeRows();
    EXPECT_EQ(2, result.ColumnCount());
    EXPECT_EQ("Name", result.ColumnName(1));
    EXPECT_EQ("ERROR: Not number of Field", result.ColumnName(-1));
    EXPECT_EQ("ERROR: Not number of Field", result.ColumnName(2));
    EXPECT_EQ(1, result.ColumnIndex(" nAME\t"));
    EXPECT_EQ(-1, result.ColumnIndex("Nam"));
    EXPECT_EQ(-1, TODBC_Array().ColumnIndex("Id"));
}

TEST(ResultArray, CellsOutsideTheStoredRangeReadAsOne) {
    TODBC_Array result = ThreeRows();
    EXPECT_EQ("n2", result.CellAt(1, 2).StrValue());
    ExpectMissing(result.CellAt(2, 0));
    ExpectMissing(result.CellAt(0, 3));
    ExpectMissing(result.CellAt(-1, 0));
    ExpectMissing(result.CellAt(0, -1));
    ExpectMissing(TODBC_Array().CellAt(0, 0));
    // Rows without cells (a result whose first row is empty).
    ExpectMissing(TODBC_Array({}, {OdbcRow{}}).CellAt(0, 0));
}

TEST(ResultArray, KeysSelectColumnsInTheCursorRow) {
    TODBC_Array result = ThreeRows();
    result.MoveNext();
    EXPECT_EQ(11, result.CellByKey(Variant::FromInt(0)).IntValue());
    EXPECT_EQ("n1", result.CellByKey(Variant::FromDouble(1.0)).StrValue());
    EXPECT_EQ("n1", result.CellByKey(Variant::FromStr("name")).StrValue());
    ExpectMissing(result.CellByKey(Variant::FromStr("Missing")));
    result.MoveLast();
    result.MoveNext();
    EXPECT_TRUE(result.AtEnd());
    ExpectMissing(result.CellByKey(Variant::FromStr("Id")));
}

TEST(ResultArray, CursorMovesWithoutBoundsChecks) {
    TODBC_Array result = ThreeRows();
    EXPECT_FALSE(result.AtEnd());
    result.MoveLast();
    EXPECT_EQ(2u, result.Row);
    result.MoveFirst();
    result.MovePrior();
    EXPECT_EQ(4294967295u, result.Row);
    EXPECT_TRUE(result.AtEnd());
    TODBC_Array empty;
    EXPECT_TRUE(empty.AtEnd());
    empty.MoveLast();
    EXPECT_EQ(4294967295u, empty.Row);
}

TEST(ResultArray, CopiesShareRowsButNotTheCursor) {
    TODBC_Array result = ThreeRows();
    TODBC_Array copy = result;
    copy.MoveNext();
    EXPECT_EQ(0u, result.Row);
    EXPECT_EQ("n0", result.CellByKey(Variant::FromStr("Name")).StrValue());
    EXPECT_EQ("n1", copy.CellByKey(Variant::FromStr("Name")).StrValue());
    EXPECT_EQ(3, copy.RowCount());
}

}  // namespace
