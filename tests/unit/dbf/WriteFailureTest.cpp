// File-system failures while a table is written are reported, never
// swallowed: /dev/full stands in for a full disk.
#include "DbfTestSupport.h"
#include "dbf/DBF_Error.h"

namespace {

TDBF_Fields WithMemo() {
    TDBF_Fields f;
    f.Add("NAME", 'C', 4, 0, false);
    f.Add("NOTE", 'M', 0, 0, false);
    return f;
}

}  // namespace

class WriteFailure : public DbfTest {
protected:
    void SetUp() override {
        DbfTest::SetUp();
        if (!Exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
        TDBF_Data t;
        t.Fields = WithMemo();
        t.CreateTable(Base("t"), false);
    }
    void RedirectToFullDisk(const std::string& path) {
        std::filesystem::remove(path);
        std::filesystem::create_symlink("/dev/full", path);
    }
};

TEST_F(WriteFailure, MemoWriteOnAFullDiskThrows) {
    RedirectToFullDisk(Base("t") + ".dbt");
    TDBF_Data t(Base("t"), "rw", true, true, false);
    ASSERT_TRUE(t.HasMemoFile());
    t.Append(true);
    EXPECT_THROW(t.SetField(S("NOTE"), S("text")), TDBFError);
}

TEST_F(WriteFailure, LogWriteOnAFullDiskThrows) {
    RedirectToFullDisk(Base("t") + ".log");
    TDBF_Data t(Base("t"), "rw", true, true, false);
    t.Append(true);
    t.SetField(S("NAME"), S("ab"));
    EXPECT_THROW(t.WriteCurrent(true, false), TDBFError);
}

TEST_F(WriteFailure, WriteOnlyModeStillReadsTheHeaderItRewrites) {
    const std::string before = Bytes(Base("t") + ".dbf");
    {
        TDBF_Data t(Base("t"), "w", true, true, false);
        EXPECT_TRUE(t.IsWritable());
        EXPECT_EQ(t.FieldCount(), 2u);
    }
    EXPECT_EQ(Bytes(Base("t") + ".dbf").substr(4), before.substr(4));
}
