// The "DBF" creator's whole-table methods on real files.
#include "test_scriptdb_support.h"

#include "dbf/DBF_Maint.h"

namespace {

class Creator : public ScriptDbTest {
protected:
    VAR_* Do(const std::string& method, std::vector<VAR_*> args) { return Invoke(ScriptDbTest::Creator(), method, args); }
    std::string Text(const std::string& method, std::vector<VAR_*> args) { return TempRef(Do(method, args))->GetStr(); }
    void MakeCities() {
        MakeTable("c", {{"CODE", "C,3"}, {"CITY", "C,8"}, {"POP", "N,6"}},
                  {{"OSL", "Oslo", "700"}, {"ROM", "", "2800"}, {"KYI", "Kyiv", "2900"}, {"BER", "", "3600"}});
    }
};

TEST_F(Creator, FieldDescriptionsReadAndWrite) {
    EXPECT_EQ(Text("Create", {NewStr(Base("f")), Map({{"name", NewStr("C,10")},
                                                      {"price", NewStr("N,10,2")},
                                                      {"qty", NewStr("N,5")},
                                                      {"born", NewStr("D")},
                                                      {"ok", NewStr("L")},
                                                      {"bad", NewStr("C,x")},
                                                      {"deci", NewStr("N,8,x,2")},
                                                      {"averyverylongname", NewStr("C,2")}})}),
              "Creator>DBF");
    EXPECT_EQ(Text("Fields", {NewStr(Base("f"))}),
              "<7/8:False> NAME => Str:[ C,10 ]; PRICE => Str:[ N,10,2 ]; QTY => Str:[ N,5 ]; BORN => Str:[ D ]; "
              "OK => Str:[ L ]; BAD => Str:[ C,1 ]; DECI => Str:[ N,1,2 ]; AVERYVERYL => Str:[ C,2 ]; ");
    EXPECT_EQ(ReadFieldList(Base("f"))[3].Length, 8);  // a date takes its default length
    EXPECT_EQ(TempRef(Do("Fields", {NewStr(Base("none"))}))->Size(), 0);
    EXPECT_THROW(TempRef(Do("Create", {NewStr(Base("g")), Map({{"x", NewStr("")}})})), ScriptError);
    EXPECT_THROW(TempRef(Do("Create", {NewStr(Base("g")), Map({{"x", NewStr("C,300")}})})), ScriptError);
}

TEST_F(Creator, RestructureCopyRenameDelete) {
    MakeCities();
    TempRef(Do("ReFields", {NewStr(Base("c")), Map({{"CODE", NewStr("C,3")}, {"NOTE", NewStr("C,4")}})}));
    EXPECT_EQ(Column("c", "CODE"), (Texts{"OSL", "ROM", "KYI", "BER"}));
    EXPECT_EQ(Column("c", "NOTE"), (Texts{"", "", "", ""}));
    MakeTable("d", {{"CODE", "C,3"}});
    TempRef(Do("InsertRec", {NewStr(Base("c")), NewStr(Base("d"))}));
    EXPECT_EQ(Column("d", "CODE"), (Texts{"OSL", "ROM", "KYI", "BER"}));
    TempRef(Do("ReName", {NewStr(Base("d")), NewStr(Base("e"))}));
    EXPECT_FALSE(std::filesystem::exists(Base("d.dbf")));
    EXPECT_EQ(Column("e", "CODE").size(), 4u);
    TempRef(Do("Delete", {NewStr(Base("e"))}));
    EXPECT_FALSE(std::filesystem::exists(Base("e.dbf")));
}

TEST_F(Creator, PacksAndTheLogSwitch) {
    VAR_* creator = ScriptDbTest::Creator();
    EXPECT_EQ(ReadText(creator, "Logs"), "False");
    Write(creator, "Logs", NewBool(true));
    EXPECT_TRUE(LogNewTables);
    MakeTable("p", {{"ID", "N,3"}, {"TEXT", "M"}}, {{"1"}, {"2"}, {"3"}});
    EXPECT_TRUE(std::filesystem::exists(Base("p.log")));
    Write(creator, "Logs", NewBool(false));
    {
        VAR_* tb = Keep(Open("p"));
        Write(tb, "TEXT", NewStr("first"));
        TempRef(Read(tb, "Write"));
        tb->Next();
        Write(tb, "Deleted", NewBool(true));
        TempRef(Read(tb, "Write"));
        Drop(tb);
    }
    EXPECT_EQ(TempRef(Do("PackRec", {NewStr(Base("p"))}))->GetInt(), 1);
    EXPECT_EQ(Column("p", "ID"), (Texts{"1", "3"}));
    EXPECT_GE(TempRef(Do("PackMemo", {NewStr(Base("p"))}))->GetInt(), 0);
    EXPECT_EQ(Column("p", "TEXT"), (Texts{"first", ""}));
}

TEST_F(Creator, AsArrayJoinsValueFieldsPerRecord) {
    MakeCities();
    EXPECT_EQ(Text("AsArray", {NewStr(Base("c")), NewStr("CODE"), NewStr("POP"), NewInt(1)}),
              "<3/4:False> OSL => Str:[ 700Oslo     ]; ROM => Str:[ 2800         ]; "
              "KYI => Str:[ 2900Kyiv     ]; BER => Str:[ 3600         ]; ");
    EXPECT_EQ(TempRef(Do("AsArray", {NewStr(Base("none")), NewStr("CODE"), NewStr("POP")}))->Size(), 0);
}

TEST_F(Creator, ReValFillsBlanksOrFollowsAFilter) {
    MakeCities();
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewStr("CITY"), NewStr("?")}))->GetInt(), 2);
    EXPECT_EQ(Column("c", "CITY"), (Texts{"Oslo", "?", "Kyiv", "?"}));
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewInt(1), NewStr("K"), NewStr("@tK")}))->GetInt(), 1);
    EXPECT_EQ(Column("c", "CITY"), (Texts{"Oslo", "?", "K", "?"}));
    // An unknown field changes nothing and counts nothing.
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewStr("ZIP"), NewStr("1")}))->GetInt(), 0);
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewInt(7), NewStr("1")}))->GetInt(), 0);
}

TEST_F(Creator, ReValWithAMapChangesOnlyTheValuesItNames) {
    MakeCities();
    VAR_* map = Map({{"OSL", NewStr("NOR")}, {"KYI", NewStr("UKR")}});
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewStr("CODE"), map}))->GetInt(), 2);
    EXPECT_EQ(Column("c", "CODE"), (Texts{"NOR", "ROM", "UKR", "BER"}));
    // Into another field, only where that field passes the filter.
    VAR_* map2 = Map({{"ROM", NewStr("Roma")}, {"BER", NewStr("Berlin")}, {"NOR", NewStr("x")}});
    EXPECT_EQ(TempRef(Do("ReVal", {NewStr(Base("c")), NewStr("CODE"), map2, NewStr("CITY"), NewStr("=t")}))->GetInt(),
              2);
    EXPECT_EQ(Column("c", "CITY"), (Texts{"Oslo", "Roma", "Kyiv", "Berlin"}));
}

TEST_F(Creator, CopyDataAppendsMappedFields) {
    MakeCities();
    MakeTable("d", {{"TOWN", "C,8"}, {"CODE", "C,3"}, {"FLAG", "L"}}, {{"Old", "OLD", "T"}});
    EXPECT_EQ(Text("CopyData", {NewStr(Base("c")), NewStr(Base("d")), Map({{"CITY", NewStr("TOWN")}})}),
              "Creator>DBF");
    EXPECT_EQ(Column("d", "TOWN"), (Texts{"Old", "Oslo", "", "Kyiv", ""}));
    EXPECT_EQ(Column("d", "CODE"), (Texts{"OLD", "", "", "", ""}));
    EXPECT_EQ(Column("d", "FLAG"), (Texts{"-1", "0", "0", "0", "0"}));
    TempRef(Do("CopyData", {NewStr(Base("c")), NewStr(Base("d"))}));  // no map: nothing
    EXPECT_EQ(Column("d", "TOWN").size(), 5u);
}

}  // namespace
