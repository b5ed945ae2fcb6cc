// Cursor behaviour of the named list: it is visible to scripts (dumps,
// iteration), so every walk must land exactly where the rules say.
#include <gtest/gtest.h>

#include <string>

#include "values/GrafArray.h"
#include "values/Variant.h"

namespace {

// A plain list of names, values unused.
void Fill(GrafArray& list, int n) {
    for (int i = 0; i < n; ++i) list.Add("n" + std::to_string(i), nullptr);
}

std::string Names(GrafArray& list) {
    std::string s;
    GrafNode* node = list.Head;
    for (int i = 0; i < list.Count; ++i, node = node->NextNode) s += node->Name + ",";
    return s;
}

// Counts the steps Seek takes by watching CurIndex change.
TEST(GrafArrayCursor, AddMovesCursorToNewNode) {
    GrafArray list;
    EXPECT_EQ(list.CurIndex, -1);
    list.Add("a", nullptr);
    list.Add("b", nullptr);
    EXPECT_EQ(list.CurIndex, 1);
    EXPECT_EQ(list.CurrentName(), "b");
    list.Add("z", nullptr, true);
    EXPECT_EQ(list.CurIndex, 0);
    EXPECT_EQ(Names(list), "z,a,b,");
}

TEST(GrafArrayCursor, NextWrapsAndOnlyFirstOrLastClearsWrapped) {
    GrafArray list;
    Fill(list, 3);
    list.Last();
    list.Next();
    EXPECT_EQ(list.CurIndex, 0);
    EXPECT_TRUE(list.Wrapped);
    list.Next();
    EXPECT_TRUE(list.Wrapped);  // Next never clears it
    list.First();
    EXPECT_FALSE(list.Wrapped);
    list.Prev();
    EXPECT_EQ(list.CurIndex, 2);
    EXPECT_TRUE(list.Wrapped);
    list.Last();
    EXPECT_FALSE(list.Wrapped);
}

TEST(GrafArrayCursor, FindTestsCursorNodeFirstThenSearchesFromHead) {
    GrafArray list;
    list.Add("x", nullptr);
    list.Add("y", nullptr);
    list.Add("x", nullptr);  // duplicate, cursor on it
    EXPECT_TRUE(list.Find("x"));
    EXPECT_EQ(list.CurIndex, 2);  // the cursor's own node wins
    EXPECT_TRUE(list.Find("y"));
    EXPECT_TRUE(list.Find("x"));
    EXPECT_EQ(list.CurIndex, 0);  // searched from the first node
    EXPECT_EQ(list.IndexOf("x"), 0);
    EXPECT_EQ(list.LastIndexOf("x"), 2);
}

TEST(GrafArrayCursor, FailedSearchRestoresWholeCursor) {
    GrafArray list;
    Fill(list, 4);
    list.Last();
    list.Next();  // index 0, wrapped
    list.Next();  // index 1, still wrapped
    EXPECT_FALSE(list.Find("missing"));
    EXPECT_TRUE(list.NotFound);
    EXPECT_EQ(list.CurIndex, 1);
    EXPECT_EQ(list.CurrentName(), "n1");
    EXPECT_TRUE(list.Wrapped);
    GrafArray empty;
    EXPECT_FALSE(empty.Find("a"));
    EXPECT_EQ(empty.IndexOf("a"), -1);
}

TEST(GrafArrayCursor, SeekTakesShortestWalkFromElevenEntries) {
    GrafArray list;
    Fill(list, 20);
    list.Seek(10);
    EXPECT_EQ(list.CurIndex, 10);
    // Behind the cursor and closer to the start: walks from the first node,
    // which clears Wrapped; from the cursor it would not.
    list.Wrapped = true;
    list.Seek(3);
    EXPECT_EQ(list.CurIndex, 3);
    EXPECT_FALSE(list.Wrapped);
    list.Seek(15);  // ahead, 12 from cursor vs 5 from the end: from Last
    EXPECT_EQ(list.CurrentName(), "n15");
    list.Wrapped = true;
    list.Seek(14);  // one step back from the cursor keeps Wrapped
    EXPECT_TRUE(list.Wrapped);
    EXPECT_EQ(list.CurrentName(), "n14");
    list.Seek(25);
    EXPECT_TRUE(list.NotFound);
    EXPECT_EQ(list.CurIndex, 14);
}

TEST(GrafArrayCursor, SmallListsSeekFromFirst) {
    GrafArray list;
    Fill(list, 5);
    list.Seek(3);
    list.Wrapped = true;
    list.Seek(4);  // fewer than 11: always from the first node
    EXPECT_FALSE(list.Wrapped);
    EXPECT_EQ(list.CurIndex, 4);
}

TEST(GrafArrayKeys, NumericKeysAddressPositionsOtherKeysNames) {
    GrafArray list;
    int a = 1, b = 2, c = 3;
    list.Add("5", &a);
    for (int i = 0; i < 4; ++i) list.Add("k" + std::to_string(i), &b);
    EXPECT_EQ(list.Get(Variant::FromInt(5)), nullptr);  // out of range, even if named "5"
    EXPECT_EQ(list.Get(Variant::FromStr("5")), &a);
    EXPECT_EQ(list.Get(Variant::FromInt(-1)), nullptr);
    list.Put(Variant::FromInt(5), &c);  // out of range: the text names the entry
    EXPECT_EQ(list.Count, 5);
    EXPECT_EQ(list.GetAt(0), &c);
    list.Put(Variant::FromInt(-1), &c);
    EXPECT_EQ(list.NameAt(5), "-1");
    list.Put(Variant::FromInt(6), &b);  // no entry named "6": appended
    EXPECT_EQ(list.NameAt(6), "6");
    list.Put(Variant::FromInt(1), &a);
    EXPECT_EQ(list.GetAt(1), &a);
}

TEST(GrafArrayOrder, ReverseRotateSortDelete) {
    GrafArray list;
    for (const char* n : {"A", "B", "C", "D"}) list.Add(n, nullptr);
    list.Reverse();
    EXPECT_EQ(Names(list), "A,D,C,B,");
    EXPECT_EQ(list.CurIndex, 0);
    GrafArray r;
    for (const char* n : {"A", "B", "C"}) r.Add(n, nullptr);
    r.Rotate(1);
    EXPECT_EQ(Names(r), "B,C,A,");
    r.Rotate(-2);
    EXPECT_EQ(Names(r), "C,A,B,");
    r.SortByName();
    EXPECT_EQ(Names(r), "A,B,C,");
    GrafArray s;
    for (const char* n : {"b", "ab", "a", "\xe0", "B"}) s.Add(n, nullptr);
    s.SortByName();
    EXPECT_EQ(Names(s), "B,a,ab,b,\xe0,");  // unsigned bytes, prefix first
    EXPECT_TRUE(s.DeleteAt(4));
    EXPECT_FALSE(s.DeleteAt(4));
    EXPECT_EQ(s.CurIndex, 0);
    s.Clear();
    EXPECT_EQ(s.CurIndex, -1);
    EXPECT_EQ(s.Count, 0);
}

TEST(GrafArrayCursor, SaveAndRestoreCursor) {
    GrafArray list;
    Fill(list, 3);
    list.Seek(1);
    list.SaveCursor();
    list.Last();
    list.Next();
    list.RestoreCursor();
    EXPECT_EQ(list.CurIndex, 1);
    EXPECT_FALSE(list.Wrapped);
}

}  // namespace

#include "values/TypeHelpers.h"
#include "values/scriptvar.h"

namespace {

class CellAssign : public ::testing::Test {
protected:
    void SetUp() override { StartValueModel("/bin/scriptrun", "/tmp"); }
    void TearDown() override { StopValueModel(); }
};

// Assigning a value that lives inside the destination (an element or an
// attribute of it) must not read the value after freeing it.
TEST_F(CellAssign, SourceInsideDestination) {
    VAR_* array = VAR_::Create(Types.Array, false);
    auto* table = static_cast<GrafVarArray*>(array->Data.ptr);
    table->AddCell("0", NewStr("inner"));
    array->Assign(table->CellAt(0));
    EXPECT_EQ(array->GetStr(), "inner");

    VAR_* tagged = NewInt(1);
    VAR_* value = NewStr("attr");
    TempRef written(tagged->Method("tag", value, true));
    ASSERT_NE(tagged->Props, nullptr);
    tagged->Assign(tagged->Props->CellAt(0));
    EXPECT_EQ(tagged->GetStr(), "attr");
    for (VAR_* c : {value, tagged}) c->Release();
    array->Temp = true;
    array->Release();
}

TEST_F(CellAssign, DumpOfAppendedEntries) {
    VAR_* array = VAR_::Create(Types.Array, true);
    auto* table = static_cast<GrafVarArray*>(array->Data.ptr);
    table->AddCell("0", NewInt(1));
    table->AddCell("1", NewStr("x"));
    EXPECT_EQ(table->Dump(), "<1/2:False> 0 => Int:[ 1 ]; 1 => Str:[ x ]; ");
    VAR_* nested = VAR_::Create(Types.Array, false);
    table->AddCell("2", nested);
    EXPECT_EQ(array->GetStr(), "<2/3:False> 0 => Int:[ 1 ]; 1 => Str:[ x ]; 2 => Obj:[ <-1/0:False>  ]; ");
    array->Release();
    GrafVarArray empty;
    EXPECT_EQ(empty.Dump(), "<-1/0:False> ");
}

}  // namespace

namespace {

TEST_F(CellAssign, DeeplyNestedArraysDumpWithoutExhaustingTheStack) {
    VAR_* outer = NewArray();
    VAR_* cell = outer;
    for (int i = 0; i < 5000; ++i) {
        VAR_* inner = VAR_::Create(Types.Array, false);
        TableOf(cell)->AddCell("0", inner);
        cell = inner;
    }
    const std::string text = outer->GetStr();
    EXPECT_NE(text.find("... "), std::string::npos);
    EXPECT_LT(text.size(), 20000u);
    outer->Release();
}

}  // namespace
