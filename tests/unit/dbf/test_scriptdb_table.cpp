// The table value: opening, walking, field access, record writes, the
// named methods, closing, and the sharing of one open table by copies.
#include "test_scriptdb_support.h"

namespace {

class TableValue : public ScriptDbTest {
protected:
    void SetUp() override {
        ScriptDbTest::SetUp();
        MakeTable("people", {{"NAME", "C,8"}, {"AGE", "N,3"}, {"CITY", "C,6"}},
                  {{"Ann", "31", "Oslo"}, {"Bob", "42", "Rome"}, {"Cid", "7", "Kyiv"}});
    }
};

TEST_F(TableValue, WalksRecordsAndReadsFieldsByMemberNameAndIndex) {
    VAR_* tb = Keep(Open("people"));
    ASSERT_EQ(tb->TypeName, "DBF");
    EXPECT_EQ(tb->GetStr(), "DBF(1/3)");
    Texts names, ages, cities;
    for (tb->First(); !tb->IsEOF(); tb->Next()) {
        names.push_back(ReadText(tb, "NAME"));
        TempRef byName(tb->GetIndex(TempRef(NewStr("AGE")).get()));
        ages.push_back(byName->GetStr());
        TempRef byIndex(tb->GetIndex(TempRef(NewInt(2)).get()));
        cities.push_back(byIndex->GetStr());
    }
    EXPECT_EQ(names, (Texts{"Ann     ", "Bob     ", "Cid     "}));
    EXPECT_EQ(ages, (Texts{"31", "42", "7"}));
    EXPECT_EQ(cities, (Texts{"Oslo  ", "Rome  ", "Kyiv  "}));
    EXPECT_EQ(tb->GetStr(), "DBF(4/3)");
    EXPECT_EQ(tb->Size(), 3);
    EXPECT_EQ(ReadText(tb, "Cols"), "3");
    EXPECT_EQ(ReadText(tb, "Rows"), "3");
    EXPECT_EQ(ReadText(tb, "Size"), "18");  // 1 + 8 + 3 + 6
    EXPECT_EQ(ReadText(tb, "Low"), "1");
    EXPECT_EQ(ReadText(tb, "High"), "3");
    EXPECT_TRUE(tb->HasMethod("CITY"));
    EXPECT_TRUE(tb->HasMethod("Low"));
    EXPECT_FALSE(tb->HasMethod("ZIP"));
}

TEST_F(TableValue, InsertFieldWritesAndWriteAppendRecords) {
    {
        VAR_* tb = Keep(Open("people"));
        TempRef same(Read(tb, "Insert"));
        EXPECT_EQ(same.get(), tb);
        Write(tb, "NAME", NewStr("Dan"));
        TempRef key(NewStr("AGE")), age(NewInt(55));
        tb->SetIndex(key.get(), age.get());
        TempRef(Read(tb, "Write"));
        TempRef(Read(tb, "Insert"));
        Write(tb, "NAME", NewStr("Eve"));
        TempRef(Read(tb, "Write"));
        TempRef(Read(tb, "Close"));
    }
    EXPECT_EQ(Column("people", "NAME"), (Texts{"Ann", "Bob", "Cid", "Dan", "Eve"}));
    EXPECT_EQ(Column("people", "AGE"), (Texts{"31", "42", "7", "55", "0"}));
}

TEST_F(TableValue, DeletedFlagReachesTheFileAtWrite) {
    VAR_* tb = Keep(Open("people"));
    tb->Next();
    Write(tb, "Deleted", NewBool(true));
    EXPECT_EQ(Column("people", "NAME"), (Texts{"Ann", "Bob", "Cid"}));
    TempRef(Read(tb, "Write"));
    EXPECT_EQ(ReadText(tb, "Deleted"), "True");
    EXPECT_EQ(Column("people", "NAME"), (Texts{"Ann", "*Bob", "Cid"}));
}

TEST_F(TableValue, SetAndLineStoreAndWriteTheRecord) {
    VAR_* tb = Keep(Open("people"));
    TempRef(Invoke(tb, "Set", {Map({{"NAME", NewStr("Al")}, {"CITY", NewStr("Baku")}})}));
    tb->Next();
    VAR_* null = NewNull();
    TempRef(Invoke(tb, "Line", {NewStr("Bo"), null, NewStr("Riga")}));
    EXPECT_EQ(Column("people", "NAME"), (Texts{"Al", "Bo", "Cid"}));
    EXPECT_EQ(Column("people", "AGE"), (Texts{"31", "42", "7"}));  // the Null left AGE alone
    EXPECT_EQ(Column("people", "CITY"), (Texts{"Baku", "Riga", "Kyiv"}));
}

TEST_F(TableValue, ByTranslatesBetweenNamesAndIndexes) {
    VAR_* tb = Keep(Open("people"));
    EXPECT_EQ(TempRef(Invoke(tb, "By", {NewStr("AGE")}))->GetInt(), 1);
    EXPECT_EQ(TempRef(Invoke(tb, "By", {NewStr("age")}))->GetInt(), 1);
    EXPECT_EQ(TempRef(Invoke(tb, "By", {NewStr("ZIP")}))->GetInt(), 255);
    EXPECT_EQ(TempRef(Invoke(tb, "By", {NewInt(2)}))->GetStr(), "CITY");
    EXPECT_EQ(TempRef(Invoke(tb, "By", {NewInt(3)}))->GetStr(), "");
}

TEST_F(TableValue, FieldsAndListDescribeTheStructure) {
    VAR_* tb = Keep(Open("people"));
    EXPECT_EQ(ReadText(tb, "Fields"),
              "<2/3:False> NAME => Str:[ C,8 ]; AGE => Str:[ N,3 ]; CITY => Str:[ C,6 ]; ");
    EXPECT_EQ(ReadText(tb, "List"), "<2/3:False> 0 => Str:[ NAME ]; 1 => Str:[ AGE ]; 2 => Str:[ CITY ]; ");
    MakeTable("bare", {});
    VAR_* bare = Keep(Open("bare"));
    EXPECT_EQ(TempRef(Read(bare, "Fields"))->Size(), 0);
    EXPECT_EQ(TempRef(Read(bare, "List"))->Size(), 0);
}

TEST_F(TableValue, MemoTextsGoThroughTheMemoFile) {
    MakeTable("notes", {{"ID", "N,3"}, {"TEXT", "M"}}, {{"1"}});
    VAR_* tb = Keep(Open("notes"));
    EXPECT_EQ(ReadText(tb, "IsMemos"), "True");
    const int64_t block = TempRef(Invoke(tb, "MemoWrite", {NewInt(0), NewStr("long text")}))->GetInt();
    EXPECT_GE(block, 1);
    EXPECT_EQ(TempRef(Invoke(tb, "MemoRead", {NewInt(block)}))->GetStr(), "long text");
    Write(tb, "TEXT", NewStr("field memo"));
    TempRef(Read(tb, "Write"));
    EXPECT_EQ(Column("notes", "TEXT"), (Texts{"field memo"}));
}

TEST_F(TableValue, CloseMakesTheCellNullAndAClosedTableForEveryCopy) {
    VAR_* tb = Keep(Open("people"));
    VAR_* copy = Keep(tb->Copy());
    TempRef closed(Read(tb, "Close"));
    EXPECT_EQ(closed.get(), tb);
    EXPECT_EQ(tb->TypeName, "Null");
    TempRef again(Read(tb, "Close"));  // a Null value has no such member
    EXPECT_TRUE(again->IsNull());
    EXPECT_EQ(ReadText(copy, "IsOpen"), "False");
    EXPECT_TRUE(copy->IsEOF());
    EXPECT_EQ(copy->GetStr(), "DBF(0/0)");
    EXPECT_TRUE(TempRef(copy->GetIndex(TempRef(NewStr("NAME")).get()))->IsNull());
    Write(copy, "NAME", NewStr("x"));  // nothing to write into
}

TEST_F(TableValue, TheLastCopyClosesTheEngine) {
    VAR_* tb = Keep(Open("people"));
    VAR_* copy = Keep(tb->Copy());
    Write(tb, "Deleted", NewBool(true));
    TempRef(Read(tb, "Write"));
    Drop(tb);
    EXPECT_EQ(ReadText(copy, "IsOpen"), "True");  // still open through the copy
    EXPECT_EQ(ReadText(copy, "Deleted"), "True");
    Drop(copy);
    EXPECT_EQ(Column("people", "NAME"), (Texts{"*Ann", "Bob", "Cid"}));
}

TEST_F(TableValue, AMissingTableOpensAsClosed) {
    VAR_* tb = Keep(Open("nothing"));
    EXPECT_EQ(tb->TypeName, "DBF");
    EXPECT_EQ(ReadText(tb, "IsOpen"), "False");
    EXPECT_TRUE(tb->IsEOF());
    TempRef(Read(tb, "Insert"));
    TempRef(Read(tb, "Write"));
    EXPECT_FALSE(std::filesystem::exists(Base("nothing.dbf")));
}

TEST_F(TableValue, AFailingMemberClosesTheTableAndReportsTheError) {
    MakeTable("dated", {{"WHEN", "D"}}, {{"20240105"}, {"20240106"}});
    // An impossible stored date: month 13 in the second record (after the
    // 65-byte header, one 9-byte record, the deletion flag and the year).
    std::FILE* f = std::fopen((Base("dated") + ".dbf").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 65 + 9 + 1 + 4, SEEK_SET);
    std::fputs("13", f);
    std::fclose(f);
    VAR_* tb = Keep(Open("dated"));
    VAR_* copy = Keep(tb->Copy());
    EXPECT_EQ(ReadText(tb, "WHEN"), "05.01.2024");
    tb->Next();
    try {
        TempRef(Read(tb, "WHEN"));
        ADD_FAILURE() << "the impossible date was read";
    } catch (const ScriptError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a date"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadText(copy, "IsOpen"), "False");
    EXPECT_EQ(tb->TypeName, "DBF");
    // A refused write closes the table the same way.
    VAR_* again = Keep(Open("dated"));
    EXPECT_THROW(Write(again, "WHEN", NewStr("someday")), ScriptError);
    EXPECT_EQ(ReadText(again, "IsOpen"), "False");
}

TEST_F(TableValue, CreatorCallNamesAndMode) {
    VAR_* creator = Creator();
    EXPECT_EQ(creator->TypeName, "Creator>DBF");
    TempRef method(Read(creator, "PackRec"));
    EXPECT_EQ(method->GetStr(), "Object[Creator.DBF].<PackRec>");
    VAR_* reading = Keep(Call(creator, {NewStr(Base("people")), NewStr("r")}));
    Write(reading, "NAME", NewStr("Zed"));
    TempRef(Read(reading, "Write"));
    EXPECT_EQ(Column("people", "NAME"), (Texts{"Ann", "Bob", "Cid"}));
    EXPECT_EQ(System->NameAt(0), "DBF");
    EXPECT_EQ(System->NameAt(1), "Excel");
    EXPECT_EQ(System->NameAt(2), "ODBC");
    EXPECT_THROW(TempRef(Call(System->CellByName("Excel"), {NewStr("book.xlsx")})), ScriptError);
}

}  // namespace
