// With the record cache on, memo texts are read through a window of blocks
// kept in memory. What the table returns must not change: texts spanning
// blocks and windows, texts at the end of the file, and texts that this
// engine rewrites (in place or moved to the end) while the window is kept.
#include "DbfTestSupport.h"

namespace {

Variant S(const std::string& text) { return Variant::FromStr(text); }

std::string MemoText(int record) {
    // Lengths from a few bytes to several blocks, so that texts cross block
    // and window boundaries.
    return "memo " + std::to_string(record) + ":" + std::string(size_t(record * 97 % 1500), char('a' + record % 26));
}

class MemoCache : public DbfTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MemoCache, TextsReadTheSameWithTheCacheOnThroughRewrites) {
    const bool binary = GetParam();
    const int records = 60;
    {
        TDBF_Fields fields;
        fields.Add("ID", 'I', 4, 0, binary);
        fields.Add("NOTE", 'M', 10, 0, binary);
        TDBF_Data t;
        Make(t, Base("m"), fields, binary);
        for (int i = 0; i < records; ++i) {
            t.Append(true);
            t.SetField(S("NOTE"), S(MemoText(i)));
            t.WriteCurrent(false, false);
        }
        t.Close();
    }
    TDBF_Data t;
    ASSERT_TRUE(t.Open(Base("m"), "rw", true, true, false));
    t.CacheBlock = 8;
    int seen = 0;
    for (t.First(true); !t.Eof(); t.Next(true), ++seen)
        ASSERT_EQ(t.GetField(S("NOTE")).ToText(), MemoText(seen)) << seen;
    EXPECT_EQ(seen, records);

    // A longer text moves to the end, a shorter one stays; both read back
    // at once, and a neighbour is untouched.
    const std::string longer(3000, 'L'), shorter = "s";
    t.GoToRead(5);
    t.SetField(S("NOTE"), S(longer));
    t.WriteCurrent(true, false);
    t.GoToRead(5);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), longer);
    t.GoToRead(6);
    t.SetField(S("NOTE"), S(shorter));
    t.WriteCurrent(true, false);
    t.GoToRead(6);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), shorter);
    t.GoToRead(7);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), MemoText(6));  // record 7 holds text 6
    t.GoToRead(records);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), MemoText(records - 1));

    // The cache off again reads the file directly, with the same results.
    t.CacheBlock = 0;
    t.GoToRead(5);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), longer);
    t.GoToRead(2);
    EXPECT_EQ(t.GetField(S("NOTE")).ToText(), MemoText(1));
}

INSTANTIATE_TEST_SUITE_P(Layouts, MemoCache, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Binary" : "Text"; });

}  // namespace
