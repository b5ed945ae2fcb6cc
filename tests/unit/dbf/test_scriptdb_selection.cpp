// Selections over a table: range bounds, assignment of a value, an array
// or another selection, sums, all rows, and the lifetime of the source.
#include "test_scriptdb_support.h"

namespace {

class Selection : public ScriptDbTest {
protected:
    void SetUp() override {
        ScriptDbTest::SetUp();
        MakeTable("t", {{"A", "C,4"}, {"B", "C,4"}, {"C", "C,4"}, {"N", "N,5"}},
                  {{"a1", "b1", "c1", "1"},
                   {"a2", "b2", "c2", "2"},
                   {"a3", "b3", "c3", "3"},
                   {"a4", "b4", "c4", "4"},
                   {"a5", "b5", "c5", "5"}});
        tb_ = Keep(Open("t"));
    }
    // tb[from..to] on the table, or on a selection.
    static VAR_* Rows(VAR_* on, int64_t from, int64_t to) { return Range(on, NewInt(from), NewInt(to)); }
    static VAR_* Cols(VAR_* on, const std::string& from, VAR_* to) { return Range(on, NewStr(from), to); }

    VAR_* tb_ = nullptr;
};

TEST_F(Selection, RowRangeBeforeAnyWalk) {
    VAR_* sel = Keep(Rows(tb_, 1, 3));
    ASSERT_EQ(sel->TypeName, "BaseDB");
    EXPECT_TRUE(sel->IsEOF());
    Keep(Range(sel, NewNull(), NewNull()));  // no bounds: every column
    EXPECT_EQ(sel->GetStr(), "BaseDB(0/4,0/3 : DBF(1/5))");
}

TEST_F(Selection, ColumnBoundsByNameAndFromTheEnd) {
    VAR_* toEnd = Keep(Cols(tb_, "B", NewInt(-1)));
    EXPECT_EQ(SelectionOf(toEnd)->Columns.Dump(),
              "<2/3:False> B => Int:[ 1 ]; C => Int:[ 2 ]; N => Int:[ 3 ]; ");
    VAR_* named = Keep(Cols(tb_, "A", NewStr("C")));
    EXPECT_EQ(SelectionOf(named)->ColumnCount(), 3);
    VAR_* unknownEnd = Keep(Cols(tb_, "C", NewStr("nope")));  // runs to the last field
    EXPECT_EQ(SelectionOf(unknownEnd)->ColumnCount(), 2);
    VAR_* unknownStart = Keep(Cols(tb_, "nope", NewStr("C")));
    EXPECT_EQ(SelectionOf(unknownStart)->ColumnCount(), 0);
    VAR_* zero = Keep(Cols(tb_, "B", NewInt(2)));  // a non-negative end is column 0
    EXPECT_EQ(SelectionOf(zero)->ColumnCount(), 0);
    VAR_* repeated = Keep(Cols(named, "B", NewStr("N")));  // no duplicates
    EXPECT_EQ(SelectionOf(repeated)->ColumnCount(), 4);
    VAR_* last = Keep(Rows(tb_, -2, -1));
    EXPECT_EQ(SelectionOf(last)->Rows.Dump(), "<1/2:False> 4 => Int:[ 4 ]; 5 => Int:[ 5 ]; ");
}

TEST_F(Selection, ExclusiveEndIsIgnoredAndCleared) {
    tb_->ExclusiveEnd = true;
    VAR_* sel = Keep(Rows(tb_, 1, 3));
    EXPECT_FALSE(tb_->ExclusiveEnd);
    EXPECT_EQ(SelectionOf(sel)->RowCount(), 3);
    sel->ExclusiveEnd = true;
    Keep(Rows(sel, 4, 5));
    EXPECT_FALSE(sel->ExclusiveEnd);
    EXPECT_EQ(SelectionOf(sel)->RowCount(), 5);
}

TEST_F(Selection, AScalarFillsEveryCellAndWritesEveryRow) {
    VAR_* sel = Keep(Rows(tb_, 1, 2));
    AssignRange(sel, NewStr("A"), NewStr("C"), NewStr("x"));
    EXPECT_EQ(Column("t", "A"), (Texts{"x", "x", "a3", "a4", "a5"}));
    EXPECT_EQ(Column("t", "B"), (Texts{"x", "x", "b3", "b4", "b5"}));
    EXPECT_EQ(Column("t", "C"), (Texts{"x", "x", "c3", "c4", "c5"}));
    EXPECT_EQ(Column("t", "N"), (Texts{"1", "2", "3", "4", "5"}));
}

TEST_F(Selection, AnArrayFillsCellsInWalkOrderAndWritesThePartialRow) {
    VAR_* sel = Keep(Rows(tb_, 2, 3));
    AssignRange(sel, NewStr("A"), NewStr("C"), List({NewStr("p"), NewStr("q"), NewStr("r"), NewStr("s")}));
    EXPECT_EQ(Column("t", "A"), (Texts{"a1", "p", "s", "a4", "a5"}));
    EXPECT_EQ(Column("t", "B"), (Texts{"b1", "q", "b3", "b4", "b5"}));
    EXPECT_EQ(Column("t", "C"), (Texts{"c1", "r", "c3", "c4", "c5"}));
    EXPECT_EQ(TDBF_Data(Base("t"), "r", true, true, false).RecordCount(), 5u);
}

TEST_F(Selection, ASelectionCopiesIntoAnotherRangeOfTheSameTable) {
    VAR_* source = Keep(Cols(tb_, "A", NewStr("B")));
    Keep(Rows(source, 4, 5));
    VAR_* target = Keep(Rows(tb_, 1, 2));
    AssignRange(target, NewStr("B"), NewStr("C"), source);
    EXPECT_EQ(Column("t", "B"), (Texts{"a4", "a5", "b3", "b4", "b5"}));
    EXPECT_EQ(Column("t", "C"), (Texts{"b4", "b5", "c3", "c4", "c5"}));
    EXPECT_EQ(Column("t", "A"), (Texts{"a1", "a2", "a3", "a4", "a5"}));
}

TEST_F(Selection, AssignmentWithoutColumnsOrRowsUsesAllColumnsOfTheCurrentRecord) {
    tb_->Next();
    tb_->Next();
    AssignRange(tb_, NewNull(), NewNull(), NewStr("9"));
    EXPECT_EQ(Column("t", "A"), (Texts{"a1", "a2", "9", "a4", "a5"}));
    EXPECT_EQ(Column("t", "N"), (Texts{"1", "2", "9", "4", "5"}));
}

TEST_F(Selection, DefaultColumnsAreAddedToTheSameSelection) {
    VAR_* sel = Keep(Rows(tb_, 1, 1));
    TempRef filtered(Invoke(sel, "Filter", {Map({})}));
    EXPECT_EQ(filtered.get(), sel);
    EXPECT_EQ(SelectionOf(sel)->ColumnCount(), 4);
}

TEST_F(Selection, NoCopyOfTheLastRecordWhenStoringFromTheEndPosition) {
    for (tb_->First(); !tb_->IsEOF(); tb_->Next()) {}
    VAR_* sel = Keep(Rows(tb_, 1, 1));
    AssignRange(sel, NewStr("A"), NewStr("A"), NewStr("z"));
    EXPECT_EQ(Column("t", "A"), (Texts{"z", "a2", "a3", "a4", "a5"}));
}

TEST_F(Selection, RowsBeyondTheEndAppendOneRecordEach) {
    VAR_* sel = Keep(Rows(tb_, 6, 7));
    AssignRange(sel, NewStr("A"), NewStr("B"), NewStr("n"));
    TempRef(Read(tb_, "Close"));  // the record count reaches the header on close
    EXPECT_EQ(Column("t", "A"), (Texts{"a1", "a2", "a3", "a4", "a5", "n", "n"}));
    EXPECT_EQ(Column("t", "B"), (Texts{"b1", "b2", "b3", "b4", "b5", "n", "n"}));
}

TEST_F(Selection, SumAddsNumbersAndIsNullWhenEmpty) {
    VAR_* numbers = Keep(Cols(tb_, "N", NewStr("N")));
    Keep(Rows(numbers, 2, 4));
    EXPECT_EQ(ReadText(numbers, "Sum"), "9");
    VAR_* texts = Keep(Cols(tb_, "A", NewStr("B")));
    Keep(Rows(texts, 1, 2));
    EXPECT_EQ(ReadText(texts, "Sum"), "a1  b1  a2  b2  ");
    VAR_* empty = Keep(Rows(tb_, 3, 1));
    EXPECT_TRUE(TempRef(Read(empty, "Sum"))->IsNull());
}

TEST_F(Selection, AllRowAndTheCallSkipDeletedRecords) {
    tb_->Next();
    Write(tb_, "Deleted", NewBool(true));
    TempRef(Read(tb_, "Write"));
    VAR_* numbers = Keep(Cols(tb_, "N", NewStr("N")));
    TempRef all(Read(numbers, "AllRow"));
    EXPECT_EQ(all.get(), numbers);
    EXPECT_EQ(ReadText(numbers, "Sum"), "13");
    VAR_* whole = Keep(Call(tb_, {}));
    EXPECT_EQ(whole->GetStr(), "BaseDB(0/4,0/4 : DBF(1/5))");
}

TEST_F(Selection, CellWalkPassesOneBetweenRowsPosition) {
    VAR_* sel = Keep(Cols(tb_, "A", NewStr("B")));
    Keep(Rows(sel, 1, 2));
    BaseDB& type = *BaseDBType;
    Texts seen;
    for (sel->First(); !sel->IsEOF(); sel->Next()) {
        sel->Bind();
        TempRef value(type.CellValue());
        sel->Unbind();
        seen.push_back(value->GetStr());
    }
    EXPECT_EQ(seen, (Texts{"a1  ", "b1  ", "Null", "a2  ", "b2  ", "Null"}));
}

TEST_F(Selection, IndexingThroughASelectionReachesTheTable) {
    VAR_* sel = Keep(Rows(tb_, 1, 2));
    TempRef key(NewStr("B"));
    EXPECT_EQ(TempRef(sel->GetIndex(key.get()))->GetStr(), "b1  ");
    TempRef value(NewStr("w"));
    sel->SetIndex(key.get(), value.get());
    TempRef(Read(tb_, "Write"));
    EXPECT_EQ(Column("t", "B")[0], "w");
}

TEST_F(Selection, CopiesOfASelectionAreIndependent) {
    VAR_* sel = Keep(Rows(tb_, 1, 2));
    VAR_* copy = Keep(sel->Copy());
    Keep(Rows(copy, 3, 3));
    EXPECT_EQ(SelectionOf(sel)->RowCount(), 2);
    EXPECT_EQ(SelectionOf(copy)->RowCount(), 3);
}

TEST_F(Selection, ASelectionOutlivesItsTableVariable) {
    VAR_* sel = Keep(Cols(tb_, "N", NewStr("N")));
    Keep(Rows(sel, 1, 5));
    Drop(tb_);
    EXPECT_EQ(ReadText(sel, "Sum"), "15");
}

TEST_F(Selection, ASelectionOverAClosedTableReadsNullAndWritesNothing) {
    VAR_* sel = Keep(Cols(tb_, "N", NewStr("N")));
    Keep(Rows(sel, 1, 5));
    TempRef(Read(tb_, "Close"));
    EXPECT_TRUE(TempRef(Read(sel, "Sum"))->IsNull());
    AssignRange(sel, NewNull(), NewNull(), NewInt(0));
    EXPECT_EQ(Column("t", "N"), (Texts{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(sel->GetStr(), "BaseDB(1/1,6/5 : DBF(0/0))");
}

TEST_F(Selection, AHugeRowRangeIsRefused) {
    EXPECT_THROW(TempRef(Rows(tb_, 1, 2000000000)), ScriptError);
}

}  // namespace
