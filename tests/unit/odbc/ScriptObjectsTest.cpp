// The script ODBC objects at the cell level: the parameter object, the
// creator's query and return code, result members and cursor, and the
// selections over a result, through the real SQLite ODBC driver.
#include "ScriptObjectsSupport.h"

#include "dbf/ScriptDB_Selection.h"

namespace {

TEST_F(OdbcScriptTest, ParameterObjectKeepsAttributesWithCaselessKeys) {
    VAR_* param = Param();
    EXPECT_EQ(param, Param()) << "Param is the cell itself, not a copy";
    EXPECT_EQ("Creator>ODBC>Param", param->TypeName);
    EXPECT_EQ("", GetParam("DSN"));

    SetParam("DSN", "one");
    SetParam("dsn", "two");
    EXPECT_EQ("two", GetParam("Dsn"));
    EXPECT_EQ("DSN=two;", OdbcConnectionString(CurrentOdbcCreator()->Record()));

    TempRef set(Map({{"UID", NewStr("me")}, {"PWD", NewInt(42)}}));
    TempRef result(param->Method("Set", set.get(), true));
    EXPECT_EQ(param, result.get());
    EXPECT_EQ("DSN=two;UID=me;PWD=42;", OdbcConnectionString(CurrentOdbcCreator()->Record()));

    TempRef notArray(NewStr("X=1"));
    TempRef ignored(param->Method("Set", notArray.get(), true));
    EXPECT_EQ("", GetParam("X"));

    TempRef cleared(param->Method("Clear", nullptr, false));
    EXPECT_EQ(param, cleared.get());
    EXPECT_EQ("", OdbcConnectionString(CurrentOdbcCreator()->Record()));
    EXPECT_EQ(0, ReadInt(Creator(), "Result"));
}

// What a script stores on the parameter cell itself is freed at shutdown,
// while the types of those cells still exist (the sanitizer run checks).
TEST_F(OdbcScriptTest, ShutdownFreesTheParameterCellAndWhatItHolds) {
    TempRef note(NewStr("kept until shutdown"));
    TempRef ignored(Param()->Method("note", note.get(), true));
    EXPECT_EQ("kept until shutdown", ReadText(Param(), "note"));
    TempRef copy(Param()->Copy());
    StopOdbcLibrary();
    EXPECT_EQ(Types.Null, TempRef(Creator()->Method("Param", nullptr, false))->Type);
    StopOdbcLibrary();
    // A copy made before still reads as an (attribute-less) parameter value.
    EXPECT_EQ("", IndexText(copy.get(), NewStr("DSN")));
}

TEST_F(OdbcScriptTest, FailedConnectionGivesAnEmptyResultAndMinusOne) {
    SetParam("DRIVER", "NoSuchDriverAnywhere");
    TempRef result;
    try {
        result.reset(Query("select 1"));
    } catch (const ScriptError& error) {
        GTEST_SKIP() << error.what();
    }
    EXPECT_EQ("ODBC", result->TypeName);
    EXPECT_EQ(-1, ReadInt(Creator(), "Result"));
    EXPECT_EQ(0, ReadInt(result.get(), "Cols"));
    EXPECT_EQ(0, ReadInt(result.get(), "Rows"));
    EXPECT_EQ(0, ReadInt(result.get(), "High") + 1);
    TempRef list(result->Method("List", nullptr, false));
    EXPECT_EQ(0, TableOf(list.get())->Count);
    EXPECT_EQ("ODBC(1/0)", result->GetStr());
    EXPECT_TRUE(result->IsEOF());
    // A selection of nothing sums to Null.
    TempRef all(Call(result.get(), {}));
    TempRef sum(all->Method("Sum", nullptr, false));
    EXPECT_EQ(Types.Null, sum->Type);
}

class SqliteResult : public OdbcScriptTest {
protected:
    void SetUp() override {
        OdbcScriptTest::SetUp();
        UseSqlite();
        if (IsSkipped()) return;
        TempRef a(Query("create table t(id integer, name varchar(20), n integer, x real)"));
        TempRef b(Query("insert into t values(1, 'abc', 10, 1.5), (2, ' abc ', 20, 2.5), (3, 'xyz', 30, 3.5)"));
        result_.reset(Query("select id, name, n, x from t order by id"));
    }
    void TearDown() override {
        result_.reset(nullptr);
        OdbcScriptTest::TearDown();
    }
    VAR_* R() { return result_.get(); }
    // Operations that answer with the selection itself.
    static void SameSelection(VAR_* selection, VAR_* answer) {
        EXPECT_EQ(selection, answer);
        if (answer != selection) answer->Release();
    }
    TempRef result_;
};

TEST_F(SqliteResult, CursorWalksTheRowsAndMembersReadTheCurrentOne) {
    EXPECT_EQ("ODBC(1/3)", R()->GetStr());
    EXPECT_EQ(3, R()->Size());
    EXPECT_EQ(0, ReadInt(R(), "Low"));
    EXPECT_EQ(2, ReadInt(R(), "High"));
    EXPECT_EQ(4, ReadInt(R(), "Cols"));
    EXPECT_EQ(3, ReadInt(R(), "Rows"));
    EXPECT_EQ("id,name,n,x", [&] {
        TempRef list(R()->Method("List", nullptr, false));
        EXPECT_EQ("3", TableOf(list.get())->NameAt(3));
        return TableOf(list.get())->Join(",");
    }());

    R()->First();
    EXPECT_EQ("abc", ReadText(R(), "NAME")) << "column names ignore ASCII case";
    EXPECT_TRUE(R()->HasMethod("Name"));
    EXPECT_EQ("10", IndexText(R(), NewInt(2)));
    EXPECT_EQ("1,5", IndexText(R(), NewStr("x")));
    R()->Next();
    EXPECT_EQ("abc", ReadText(R(), "name")) << "text cells arrive trimmed";
    EXPECT_EQ("ODBC(2/3)", R()->GetStr());
    R()->Last();
    TempRef position(R()->GetPosition());
    EXPECT_EQ(2, position->GetInt());
    EXPECT_FALSE(R()->IsEOF());
    R()->Next();
    EXPECT_TRUE(R()->IsEOF());
    // Past the end every column reads as the integer 1.
    EXPECT_EQ("1", IndexText(R(), NewStr("name")));
    EXPECT_EQ("1", IndexText(R(), NewInt(0)));
    EXPECT_EQ("1", IndexText(R(), NewInt(99)));

    R()->First();
    R()->Prev();
    TempRef wrapped(R()->GetPosition());
    EXPECT_EQ(4294967295, wrapped->GetInt());
    EXPECT_TRUE(R()->IsEOF());
    TempRef one(NewInt(1));
    R()->SetPosition(one.get());
    EXPECT_EQ("2", IndexText(R(), NewStr("ID")));
}

TEST_F(SqliteResult, ByTranslatesBetweenColumnNamesAndNumbers) {
    EXPECT_EQ("2", InvokeText(R(), "By", {NewStr("N")}));
    EXPECT_EQ("-1", InvokeText(R(), "By", {NewStr("missing")}));
    EXPECT_EQ("name", InvokeText(R(), "By", {NewInt(1)}));
    EXPECT_EQ("ERROR: Not number of Field", InvokeText(R(), "By", {NewInt(4)}));
    EXPECT_EQ("ERROR: Not number of Field", InvokeText(R(), "By", {NewInt(-1)}));
    // Without an argument the Null cell counts as the number 0.
    EXPECT_EQ("id", InvokeText(R(), "By", {}));
}

TEST_F(SqliteResult, CopiesShareRowsButNotTheCursor) {
    R()->Next();
    TempRef copy(R()->Copy());
    EXPECT_EQ("ODBC(2/3)", copy->GetStr());
    copy->Next();
    EXPECT_EQ("ODBC(3/3)", copy->GetStr());
    EXPECT_EQ("ODBC(2/3)", R()->GetStr());
    result_.reset(nullptr);
    EXPECT_EQ("xyz", ReadText(copy.get(), "name")) << "the copy keeps the rows alive";
}

TEST_F(SqliteResult, LaterQueriesSeeChangesAndLeaveEarlierResultsAlone) {
    TempRef update(Query("update t set n = n + 1 where id = 1"));
    EXPECT_EQ(0, ReadInt(update.get(), "Cols"));
    EXPECT_EQ(0, ReadInt(Creator(), "Result"));
    TempRef after(Query("select n from t where id = 1"));
    EXPECT_EQ("11", ReadText(after.get(), "n"));
    EXPECT_EQ("10", ReadText(R(), "n"));

    // A syntax error raises nothing and gives no columns.
    TempRef bad(Query("selec nothing"));
    EXPECT_EQ(0, ReadInt(bad.get(), "Cols"));
    // No argument runs the text of a Null cell, which is no SQL either.
    TempRef none(Call(Creator(), {}));
    EXPECT_EQ(0, ReadInt(none.get(), "Cols"));
}

TEST_F(SqliteResult, CallingAResultSelectsEveryCellAndLeavesTheCursorAtTheStart) {
    R()->Last();
    TempRef all(Call(R(), {}));
    SelectionData* s = SelectionOf(all.get());
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(4, s->ColumnCount());
    EXPECT_EQ(3, s->RowCount());
    EXPECT_EQ("ODBC(1/3)", R()->GetStr());
    // Added row by row from the first cell, an integer: texts count as 0
    // and the reals' halves make 73.5, which the integer total rounds.
    TempRef sum(all->Method("Sum", nullptr, false));
    EXPECT_EQ(74, sum->GetInt());
}

TEST_F(SqliteResult, RangesFiltersAndSumsOverColumnsAndRows) {
    TempRef numbers(Range(R(), NewStr("n"), NewStr("N")));
    ASSERT_NE(nullptr, SelectionOf(numbers.get()));
    EXPECT_EQ(1, SelectionOf(numbers.get())->ColumnCount());
    SameSelection(numbers.get(), numbers->Method("AllRow", nullptr, false));
    TempRef total(numbers->Method("Sum", nullptr, false));
    EXPECT_EQ(60, total->GetInt());

    // Columns from "name" to the last but one, then rows 1 to the last.
    TempRef tail(Range(R(), NewStr("name"), NewInt(-2)));
    EXPECT_EQ(2, SelectionOf(tail.get())->ColumnCount());
    SameSelection(tail.get(), Range(tail.get(), NewInt(1), NewInt(-1)));
    EXPECT_EQ(2, SelectionOf(tail.get())->RowCount());
    TempRef tailSum(tail->Method("Sum", nullptr, false));
    EXPECT_EQ("abc20xyz30", tailSum->GetStr()) << "a text first cell makes the sum a text";

    // Trimmed name equal to abc keeps rows 0 and 1; excluded, row 2 stays.
    TempRef keep(Call(R(), {}));
    SameSelection(keep.get(), Invoke(keep.get(), "Filter", {Map({{"name", NewStr("=tabc")}})}));
    EXPECT_EQ(2, SelectionOf(keep.get())->RowCount());

    TempRef drop(Call(R(), {}));
    SameSelection(drop.get(), Invoke(drop.get(), "Filter", {Map({{"name", NewStr("=tabc")}}), NewBool(true)}));
    ASSERT_EQ(1, SelectionOf(drop.get())->RowCount());
    EXPECT_EQ("2", SelectionOf(drop.get())->Rows.NameAt(0));
    // Condition keys are the selection's column keys, compared exactly.
    TempRef other(Call(R(), {}));
    SameSelection(other.get(), Invoke(other.get(), "Filter", {Map({{"NAME", NewStr("=tabc")}})}));
    EXPECT_EQ(3, SelectionOf(other.get())->RowCount());
}

TEST_F(SqliteResult, ResultsCannotBeWrittenThroughSelections) {
    TempRef all(Call(R(), {}));
    TempRef value(NewStr("changed"));
    TempRef from(NewInt(0)), to(NewInt(2));
    all->SetRange(from.get(), to.get(), value.get());
    R()->First();
    EXPECT_EQ("abc", ReadText(R(), "name"));
}

}  // namespace
