// Tables whose files do not match their headers, and a fuzz run over
// mutated tables: opening and reading must never crash, hang or change the
// files.
#include <random>

#include "DbfTestSupport.h"
#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"

namespace {

TDBF_Fields SmallFields(bool binary) {
    TDBF_Fields f;
    f.Add("NAME", 'C', 4, 0, binary);
    f.Add("NUM", 'N', 5, 1, binary);
    f.Add("DAY", 'D', 0, 0, binary);
    f.Add("OK", 'L', 0, 0, binary);
    f.Add("NOTE", 'M', 0, 0, binary);
    if (binary) f.Add("WHEN", 'd', 0, 0, binary);
    return f;
}

// Reads every field of every record, as a script walking the table would.
size_t ReadEverything(TDBF_Data& t) {
    size_t values = 0;
    for (t.First(true); !t.Eof(); t.Next(true)) {
        for (size_t i = 0; i < t.FieldCount() + 1; ++i) {
            try {
                t.GetField(Variant::FromInt(int64_t(i)));
                ++values;
            } catch (const TDBFError&) {
            }
        }
    }
    return values;
}

// Stores a value into every field of the first record and of a new one.
void WriteEverything(TDBF_Data& t, uint32_t seed) {
    const Variant values[] = {S("20240105"), I(int64_t(seed % 1000)), S(std::string(seed % 900, 'w')), S("")};
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0) t.GoToRead(1);
        else t.Append(true);
        for (size_t i = 0; i < t.FieldCount(); ++i) {
            try {
                t.SetField(Variant::FromInt(int64_t(i)), values[(seed + i) % 4]);
            } catch (const TDBFError&) {
            }
        }
        t.WriteCurrent(true, false);
    }
    t.Close();
}

}  // namespace

class DamagedTable : public DbfTest {
protected:
    void WriteSample(bool binary) {
        TDBF_Data t;
        Make(t, Base("s"), SmallFields(binary), binary);
        for (int i = 0; i < 3; ++i) {
            t.Append(true);
            t.SetField(S("NAME"), S("r" + std::to_string(i)));
            t.SetField(S("NUM"), I(i));
            t.SetField(S("DAY"), S("20240105"));
            t.SetField(S("NOTE"), S(std::string(size_t(300 * i + 10), char('a' + i))));
            t.WriteCurrent(false, i == 1);
        }
        t.Close();
    }
};

TEST_F(DamagedTable, HeaderPromisingMoreThanTheFileIsUsedAsTheFileHoldsUntilWritten) {
    WriteSample(false);
    std::string dbf = Bytes(Base("s") + ".dbf");
    StoreU32(reinterpret_cast<uint8_t*>(dbf.data()) + 4, 1000);
    Put(Base("s") + ".dbf", dbf);
    {
        TDBF_Data t(Base("s"), "rw", true, true, false);
        ASSERT_TRUE(t.IsOpen());
        EXPECT_EQ(t.RecordCount(), 3u);
        EXPECT_EQ(ReadEverything(t), 3u * 6);  // five fields and one index past them
        t.Close();
    }
    EXPECT_EQ(Bytes(Base("s") + ".dbf"), dbf);  // untouched when not written
    {
        TDBF_Data t(Base("s"), "rw", true, true, false);
        t.GoToRead(1);
        t.WriteCurrent(true, false);
        t.Close();
    }
    TDBF_Data t(Base("s"), "r", true, true, false);
    EXPECT_EQ(LoadU32(t.Header().data() + 4), 3u);  // repaired once written
}

TEST_F(DamagedTable, HeaderLengthPastTheEndAndMissingTerminator) {
    WriteSample(false);
    std::string dbf = Bytes(Base("s") + ".dbf");
    StoreU16(reinterpret_cast<uint8_t*>(dbf.data()) + 8, 60000);
    Put(Base("s") + ".dbf", dbf);
    {
        TDBF_Data t(Base("s"), "rw", true, true, false);
        ASSERT_TRUE(t.IsOpen());
        EXPECT_EQ(t.RecordCount(), 0u);
        EXPECT_EQ(t.FieldCount(), 5u);
    }
    // Only descriptors, no 0x0D: fields stop at the end of the file.
    Put(Base("s") + ".dbf", dbf.substr(0, 32 + 32 * 2 + 10));
    TDBF_Data t(Base("s"), "r", true, true, false);
    ASSERT_TRUE(t.IsOpen());
    EXPECT_EQ(t.FieldCount(), 2u);
    EXPECT_EQ(t.RecordCount(), 0u);
    Put(Base("s") + ".dbf", dbf.substr(0, 20));  // no header at all
    EXPECT_FALSE(t.Open(Base("s"), "r", true, true, false));
}

TEST_F(DamagedTable, RecordLengthShorterThanTheFieldsKeepsAccessInsideTheRecord) {
    WriteSample(false);
    std::string dbf = Bytes(Base("s") + ".dbf");
    StoreU16(reinterpret_cast<uint8_t*>(dbf.data()) + 10, 7);
    Put(Base("s") + ".dbf", dbf);
    TDBF_Data t(Base("s"), "rw", true, true, false);
    ReadEverything(t);
    t.GoToRead(1);
    t.SetField(S("NOTE"), S("beyond the record"));  // cut away, never outside the buffer
    t.SetField(S("NAME"), S("abcdef"));
    EXPECT_EQ(t.Buffer().size(), 8u);
}

TEST_F(DamagedTable, MemoWithoutEndMarkAndLoopingChains) {
    WriteSample(false);
    std::string dbt = Bytes(Base("s") + ".dbt");
    Put(Base("s") + ".dbt", dbt.substr(0, 512 + 5));  // the first memo loses its 0x1A
    {
        TDBF_Data t(Base("s"), "r", true, true, false);
        EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), "aaaaa");
    }
    WriteSample(true);
    dbt = Bytes(Base("s") + ".dbt");
    // Block 2 (second memo, 310 bytes) links back to itself.
    uint8_t* block2 = reinterpret_cast<uint8_t*>(dbt.data()) + 1024;
    std::fill(block2, block2 + 508, 'z');
    StoreU32(block2 + 508, 2);
    Put(Base("s") + ".dbt", dbt);
    TDBF_Data t(Base("s"), "rw", true, true, false);
    t.GoToRead(2);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), std::string(508, 'z'));
    t.SetField(S("NOTE"), S(std::string(2000, 'n')));  // rewriting follows no loop
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), std::string(2000, 'n'));
    t.GoToRead(3);
    EXPECT_EQ(t.GetField(S("NOTE")).StrValue(), std::string(610, 'c'));
}

TEST_F(DamagedTable, FuzzedTablesOpenAndReadSafely) {
    WriteSample(false);
    const std::string textDbf = Bytes(Base("s") + ".dbf"), textDbt = Bytes(Base("s") + ".dbt");
    WriteSample(true);
    const std::string binDbf = Bytes(Base("s") + ".dbf"), binDbt = Bytes(Base("s") + ".dbt");
    std::mt19937 random(20240105);
    const auto pick = [&](size_t n) { return size_t(random() % std::max<size_t>(n, 1)); };
    const auto mutate = [&](std::string bytes, bool header) {
        const int edits = 1 + int(pick(8));
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            switch (pick(5)) {
                case 0: bytes[pick(header ? 48 : bytes.size())] = char(random()); break;
                case 1: bytes[pick(bytes.size())] ^= char(1 << pick(8)); break;
                case 2: bytes.resize(pick(bytes.size() + 1)); break;
                case 3: bytes.insert(pick(bytes.size()), std::string(pick(40), char(random()))); break;
                default: {
                    const size_t at = pick(bytes.size() > 4 ? bytes.size() - 4 : 1);
                    if (at + 4 <= bytes.size()) StoreU32(reinterpret_cast<uint8_t*>(bytes.data()) + at, uint32_t(random()));
                }
            }
        }
        return bytes;
    };
    size_t opened = 0;
    const std::string memoFile = Base("f") + ".dbt", dataFile = Base("f") + ".dbf";
    for (int round = 0; round < 10000; ++round) {
        const bool binary = round % 2 == 1;
        // Fresh files rather than truncated ones: rewriting a file in place
        // makes the file system flush it each time.
        std::filesystem::remove(Base("f") + ".dbf");
        std::filesystem::remove(Base("f") + ".dbt");
        Put(Base("f") + ".dbf", mutate(binary ? binDbf : textDbf, round % 3 == 0));
        Put(Base("f") + ".dbt", mutate(binary ? binDbt : textDbt, false));
        TDBF_Data t;
        t.CacheBlock = uint16_t(round % 4 == 0 ? 2 : 0);
        const bool writing = round % 5 == 0;
        if (!t.Open(Base("f"), writing ? "rw" : "r", true, true, false)) continue;
        ++opened;
        ReadEverything(t);
        t.MemoRead(uint32_t(random()));
        if (writing) {
            WriteEverything(t, random());
            // Writing stays within reach of what the files held: a record
            // lands at most a 16-bit header and record length past them.
            ASSERT_LT(std::filesystem::file_size(memoFile), 64u * 1024) << round;
            ASSERT_LT(std::filesystem::file_size(dataFile), 3u * 65536) << round;
        }
    }
    EXPECT_GT(opened, 8000u);
}
