// Whole-table operations: creation, rename, delete, copy, restructure and
// both packs, with the log lines they leave.
#include "DbfTestSupport.h"
#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_Maint.h"

namespace {

TDBF_Fields People() {
    TDBF_Fields f;
    f.Add("NAME", 'C', 8, 0, false);
    f.Add("AGE", 'N', 3, 0, false);
    f.Add("BORN", 'D', 0, 0, false);
    f.Add("NOTE", 'M', 0, 0, false);
    return f;
}

struct Person {
    std::string name;
    int age;
    std::string born;  // YYYYMMDD or "" for a blank date
    std::string note;
    bool deleted;
};

const Person kPeople[] = {
    {"ann", 30, "19940105", "likes tea", false},
    {"bob", 41, "", "", true},
    {"cid", 25, "19990228", std::string(700, 'c'), false},
    {"dan", 52, "19720101", "dan's note", true},
    {"eve", 19, "", "last", false},
};

}  // namespace

class Maintenance : public DbfTest {
protected:
    void SetUp() override {
        DbfTest::SetUp();
        LogNewTables = false;
    }
    void TearDown() override {
        LogNewTables = false;
        DbfTest::TearDown();
    }
    void WritePeople(const std::string& base) {
        TDBF_Data t;
        Make(t, base, People());
        for (const Person& p : kPeople) {
            t.Append(true);
            t.SetField(S("NAME"), S(p.name));
            t.SetField(S("AGE"), I(p.age));
            if (p.born.empty()) t.SetFieldBlank(t.FieldIndex("BORN"));
            else t.SetField(S("BORN"), S(p.born));
            t.SetField(S("NOTE"), S(p.note));
            t.WriteCurrent(false, p.deleted);
        }
        t.Close();
    }
    std::vector<std::string> Names(const std::string& base) {
        std::vector<std::string> names;
        TDBF_Data t(base, "r", true, true, false);
        for (t.First(true); !t.Eof(); t.Next(true)) names.push_back(TrimName(t.GetField(S("NAME")).StrValue()));
        return names;
    }
    static std::string TrimName(std::string s) { return s.substr(0, s.find(' ')); }
};

TEST_F(Maintenance, CreateWritesDefaultsIntoTheDescriptors) {
    TDBF_Fields f;
    f.Add("AMOUNT", 'N', 0, 0, false);
    f.Add("TEXT", 'C', 0, 0, false);
    f.Add("FLOAT", 'F', 0, 0, false);
    CreateTable(Base("t"), f, false);
    const std::string dbf = Bytes(Base("t") + ".dbf");
    ASSERT_EQ(dbf.size(), 32u + 3 * 32 + 32);
    EXPECT_EQ(dbf.substr(32, 11), std::string("AMOUNT\0\0\0\0\0", 11));
    EXPECT_EQ(dbf.substr(32 + 11, 7), "N    \x0b\x01");
    EXPECT_EQ(dbf.substr(64 + 16, 2), std::string("\x0a\x00", 2));
    EXPECT_EQ(dbf.substr(96 + 16, 2), "\x0f\x04");
    EXPECT_EQ(dbf[63], '\x0a');
    EXPECT_EQ(LoadU16(reinterpret_cast<const uint8_t*>(dbf.data()) + 8), 32 * 4 + 1);
    EXPECT_EQ(LoadU16(reinterpret_cast<const uint8_t*>(dbf.data()) + 10), 1 + 11 + 10 + 15);
    EXPECT_EQ(dbf.substr(128, 3), std::string("\x0d\x1a\0", 3));
    EXPECT_FALSE(Exists(Base("t") + ".dbt"));
    EXPECT_FALSE(Exists(Base("t") + ".log"));
}

TEST_F(Maintenance, CreateRejectsFieldsTheFormatCannotHold) {
    TDBF_Fields f;
    f.Add("LONG", 'C', 300, 0, false);
    EXPECT_THROW(CreateTable(Base("t"), f, false), TDBFError);
    EXPECT_FALSE(Exists(Base("t") + ".dbf"));
}

TEST_F(Maintenance, CreateLogsWhenAskedOrWhenALogExists) {
    LogNewTables = true;
    CreateTable(Base("t"), People(), false);
    EXPECT_NE(Bytes(Base("t") + ".log").find(" Create New Base\r\n"), std::string::npos);
    EXPECT_EQ(Bytes(Base("t") + ".dbt"), std::string(512, '\0'));
}

TEST_F(Maintenance, RenameAndDeleteMoveOrKeepTheLog) {
    WritePeople(Base("a"));
    Put(Base("a") + ".log", "old line\r\n");
    RenameTable(Base("a"), Base("b"));
    EXPECT_FALSE(Exists(Base("a") + ".dbf") || Exists(Base("a") + ".dbt") || Exists(Base("a") + ".log"));
    const std::string log = Bytes(Base("b") + ".log");
    EXPECT_EQ(log.find("old line\r\n"), 0u);
    EXPECT_NE(log.find(" ReName {[" + Base("a") + "]} => {[" + Base("b") + "]}\r\n"), std::string::npos) << log;
    EXPECT_EQ(Names(Base("b")).size(), 5u);

    DeleteTable(Base("b"));
    EXPECT_FALSE(Exists(Base("b") + ".dbf") || Exists(Base("b") + ".dbt"));
    EXPECT_NE(Bytes(Base("b") + ".log").find(" Delete Base {[" + Base("b") + "]}\r\n"), std::string::npos);

    CreateTable(Base("plain"), TDBF_Fields(People()), false);
    TFile::Erase(Base("plain") + ".dbt");
    RenameTable(Base("plain"), Base("moved"));
    EXPECT_TRUE(Exists(Base("moved") + ".dbf"));
    EXPECT_FALSE(Exists(Base("moved") + ".log") || Exists(Base("moved") + ".dbt"));
    RenameTable(Base("nothing"), Base("x"));  // a missing table is left alone
    EXPECT_FALSE(Exists(Base("x") + ".dbf"));
}

TEST_F(Maintenance, CopyRecordsMatchesFieldsByNameAndKeepsBlanks) {
    WritePeople(Base("src"));
    TDBF_Fields f;
    f.Add("BORN", 'D', 0, 0, false);
    f.Add("NAME", 'C', 3, 0, false);
    f.Add("EXTRA", 'N', 4, 0, false);
    CreateTable(Base("dst"), f, false);
    Put(Base("dst") + ".log", "");
    CopyRecords(Base("src"), Base("dst"));
    TDBF_Data t(Base("dst"), "r", true, true, false);
    ASSERT_EQ(t.RecordCount(), 5u);
    t.GoToRead(2);
    EXPECT_TRUE(t.IsDeleted());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Buffer().data()) + 1, 8), "        ");  // blank date
    EXPECT_EQ(t.GetField(S("NAME")).StrValue(), "bob");
    t.GoToRead(3);
    EXPECT_DOUBLE_EQ(t.GetField(S("BORN")).DateValue(), Date(1999, 2, 28));
    const std::string log = Bytes(Base("dst") + ".log");
    EXPECT_NE(log.find(" Copy Records Data {[" + Base("src") + "]} => {[" + Base("dst") + "]}\r\n"), std::string::npos);
}

TEST_F(Maintenance, CopyFromATableWithoutFieldsDoesNotTouchTheDestination) {
    CreateTable(Base("empty"), TDBF_Fields(), false);
    CreateTable(Base("dst"), People(), false);
    std::string before = Bytes(Base("dst") + ".dbf");
    before[1] = 99;  // an old update date: reopening for writing would renew it
    Put(Base("dst") + ".dbf", before);
    CopyRecords(Base("empty"), Base("dst"));
    EXPECT_EQ(Bytes(Base("dst") + ".dbf"), before);  // not even reopened
}

TEST_F(Maintenance, RestructureKeepsValuesByNameFlagsAndTheLog) {
    WritePeople(Base("p"));
    Put(Base("p") + ".log", "");
    TDBF_Fields f;
    f.Add("NAME", 'C', 8, 0, false);
    f.Add("NOTE", 'M', 0, 0, false);
    f.Add("BORN", 'D', 0, 0, false);
    f.Add("CITY", 'C', 6, 0, false);
    RestructureTable(Base("p"), f);
    EXPECT_FALSE(Exists(Base("p_olddbf") + ".dbf") || Exists(Base("p_olddbf") + ".dbt") ||
                 Exists(Base("p_olddbf") + ".log"));
    TDBF_Data t(Base("p"), "r", true, true, false);
    ASSERT_EQ(t.FieldCount(), 4u);
    ASSERT_EQ(t.RecordCount(), 5u);
    size_t i = 0;
    for (t.First(true); !t.Eof(); t.Next(true), ++i) {
        const Person& p = kPeople[i];
        EXPECT_EQ(TrimName(t.GetField(S("NAME")).StrValue()), p.name);
        EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), p.note);
        EXPECT_EQ(t.IsDeleted(), p.deleted);
        EXPECT_EQ(t.GetField(S("CITY")).StrValue(), "      ");
        EXPECT_EQ(t.FieldIsBlank(t.FieldIndex("BORN")), p.born.empty()) << p.name;
    }
    const std::string log = Bytes(Base("p") + ".log");
    const size_t rename = log.find(" ReName {["), refield = log.find(" ReField {[NAME,NOTE,BORN,CITY,]}"),
                 removed = log.find(" Delete Base {[" + Base("p_olddbf") + "]}");
    EXPECT_LT(rename, refield) << log;
    EXPECT_LT(refield, removed) << log;
    EXPECT_NE(removed, std::string::npos) << log;
}

TEST_F(Maintenance, RestructureNeverOverwritesAnEarlierBackup) {
    WritePeople(Base("p"));
    Put(Base("p_olddbf") + ".dbf", "precious");
    EXPECT_THROW(RestructureTable(Base("p"), People()), TDBFError);
    EXPECT_EQ(Bytes(Base("p_olddbf") + ".dbf"), "precious");
    EXPECT_EQ(Names(Base("p")).size(), 5u);
    TDBF_Fields bad;
    bad.Add("WIDE", 'C', 999, 0, false);
    TFile::Erase(Base("p_olddbf") + ".dbf");
    EXPECT_THROW(RestructureTable(Base("p"), bad), TDBFError);
    EXPECT_EQ(Names(Base("p")).size(), 5u);  // the table is where it was
}

TEST_F(Maintenance, PackRecordsRemovesDeletedAndKeepsMemoReferences) {
    WritePeople(Base("p"));
    Put(Base("p") + ".log", "");
    const std::string memoBefore = Bytes(Base("p") + ".dbt");
    EXPECT_EQ(PackRecords(Base("p")), 2u);
    EXPECT_EQ(Names(Base("p")), (std::vector<std::string>{"ann", "cid", "eve"}));
    TDBF_Data t(Base("p"), "r", true, true, false);
    t.GoToRead(2);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), std::string(700, 'c'));
    t.GoToRead(3);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), "last");
    t.Close();
    EXPECT_EQ(Bytes(Base("p") + ".dbt"), memoBefore);
    EXPECT_FALSE(Exists(Base("p_tmp") + ".dbf") || Exists(Base("p_tmp") + ".dbt"));
    EXPECT_NE(Bytes(Base("p") + ".log").find(" Rec Pack, deletes for 2 record\r\n"), std::string::npos);

    EXPECT_EQ(PackRecords(Base("p")), 0u);  // nothing deleted: no new line
    EXPECT_EQ(Names(Base("p")).size(), 3u);
    size_t lines = 0;
    for (char c : Bytes(Base("p") + ".log")) lines += c == '\n';
    EXPECT_EQ(lines, 1u);
    EXPECT_EQ(PackRecords(Base("missing")), 0u);
    EXPECT_FALSE(Exists(Base("missing") + ".dbf") || Exists(Base("missing_tmp") + ".dbf"));
}

TEST_F(Maintenance, PackMemosRewritesFromBlockOneInRecordOrder) {
    WritePeople(Base("p"));
    {
        // Grow the first memo so that it moves to the end, leaving a hole.
        TDBF_Data t(Base("p"), "rw", true, true, false);
        t.SetField(S("NOTE"), S(std::string(1500, 'a')));
        t.WriteCurrent(true, false);
    }
    const int64_t before = TFile::SizeOfFile(Base("p") + ".dbt");
    Put(Base("p") + ".log", "");
    const int64_t saved = PackMemos(Base("p"));
    EXPECT_EQ(saved, before - TFile::SizeOfFile(Base("p") + ".dbt"));
    EXPECT_GT(saved, 0);
    TDBF_Data t(Base("p"), "r", true, true, false);
    const char* blocks[] = {"         1", "          ", "         4", "         6", "         7"};
    size_t i = 0;
    for (t.First(true); !t.Eof(); t.Next(true), ++i) {
        EXPECT_EQ(Stored(t, "NOTE"), blocks[i]) << i;
        EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), i == 0 ? std::string(1500, 'a') : kPeople[i].note);
    }
    EXPECT_NE(Bytes(Base("p") + ".log").find(" Memo Pack, deletes for " + std::to_string(saved) + " bytes\r\n"),
              std::string::npos);
    EXPECT_EQ(PackMemos(Base("missing")), 0);
}

TEST_F(Maintenance, PackMemosWithoutMemoFieldsReportsTheFileSize) {
    TDBF_Fields f;
    f.Add("NAME", 'C', 4, 0, false);
    CreateTable(Base("t"), f, false);
    Put(Base("t") + ".dbt", std::string(1024, 'x'));
    EXPECT_EQ(PackMemos(Base("t")), 1024);
    EXPECT_EQ(Bytes(Base("t") + ".dbt"), std::string(1024, 'x'));
}

TEST_F(Maintenance, ReadFieldListGivesTheStoredFields) {
    CreateTable(Base("t"), People(), false);
    const TDBF_Fields f = ReadFieldList(Base("t"));
    ASSERT_EQ(f.Count(), 4u);
    EXPECT_EQ(f[2].Name, "BORN");
    EXPECT_EQ(f[2].Length, 8);
    EXPECT_EQ(f[3].Offset, 1 + 8 + 3 + 8);
    EXPECT_TRUE(ReadFieldList(Base("missing")).Empty());
}
