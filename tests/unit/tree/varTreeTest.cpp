// The script tree object, driven through the value cells' slot wrappers.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tree/varTree.h"
#include "values/TypeHelpers.h"
#include "values/unitUtils.h"

namespace {

class ValueModelEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        StartValueModel("/bin/scriptrun", "/tmp");
        RegisterTreeLibrary();
        RegisterTreeFunction();
    }
    void TearDown() override {
        StopTreeLibrary();
        StopValueModel();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ValueModelEnvironment);

// Owns a temporary result for the length of a test.
using Cell = std::unique_ptr<VAR_, void (*)(VAR_*)>;
Cell Hold(VAR_* cell) {
    return Cell(cell, [](VAR_* c) {
        if (c) c->Release();
    });
}

// A variable: a cell that is not a temporary, destroyed at scope end.
Cell Variable(VAR_* cell) {
    cell->Temp = false;
    return Cell(cell, [](VAR_* c) { c->Destroy(); });
}

Cell Call(VAR_* callee, std::vector<VAR_*> arguments) {
    GrafVarArray args;
    for (VAR_* argument : arguments) args.AddCell(std::to_string(args.Count), argument);
    return Hold(callee->CallArgs(&args));
}

Cell CallMethod(VAR_* owner, const std::string& name, std::vector<VAR_*> arguments) {
    Cell method = Hold(owner->Method(name, nullptr, false));
    return Call(method.get(), std::move(arguments));
}

Cell Read(VAR_* cell, const std::string& name) { return Hold(cell->Method(name, nullptr, false)); }
// Writes as the machine does: the operand, if temporary, is released
// afterwards (a node that took it over has cleared its Temp flag).
void Write(VAR_* cell, const std::string& name, VAR_* value) {
    cell->Method(name, value, true)->Release();
    value->Release();
}

// A node value kept in a variable (members such as "Clear" return it).
Cell Keep(Cell cell) { return Variable(cell.release()); }

std::string Text(const Cell& cell) { return cell->GetStr(); }

class ScriptTree : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAutoCounter();
        root = Variable(NewTreeCell("R"));
    }
    Cell root{nullptr, nullptr};
};

}  // namespace

TEST_F(ScriptTree, GlobalFunctionMakesNamedOrStampedRoots) {
    GrafVarArray named;
    named.AddCell("0", NewStr("Top"));
    Cell top = Hold(TreeFunction(nullptr, &named));
    EXPECT_EQ(top->TypeName, "Tree");
    EXPECT_EQ(Text(Read(top.get(), "Name")), "Top");
    EXPECT_EQ(top->GetStr(), "Tree(1/0, \"\")");
    EXPECT_FALSE(top->IsNull());
    Cell stamped = Hold(TreeFunction(nullptr, nullptr));
    EXPECT_TRUE(std::regex_match(Text(Read(stamped.get(), "Name")),
                                 std::regex(R"(\d{1,2}:\d\d:\d\d - \d\d\.\d\d\.\d{4})")));
    VAR_* global = System->CellByName("Tree");
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->GetStr(), "System.<Tree>");
    EXPECT_EQ(Call(global, {NewStr("G")})->GetStr(), "Tree(1/0, \"\")");
    Cell method = Read(top.get(), "Index");
    EXPECT_EQ(method->GetStr(), "Object[Tree].<Index>");
}

TEST_F(ScriptTree, CallingAddsLocatesAndFollowsPaths) {
    Cell x = Call(root.get(), {NewStr("x"), NewStr("")});
    Cell y = Call(root.get(), {NewStr("y"), NewStr("x")});
    EXPECT_EQ(Text(Read(x.get(), "Path")), "x");
    EXPECT_EQ(Text(Read(y.get(), "Path")), "x\\y");
    EXPECT_EQ(Text(Call(root.get(), {NewStr("/x/y")})), "Tree(1/0, \"x\\y\")");
    EXPECT_EQ(Text(Read(Call(root.get(), {}).get(), "Name")), "y");  // the last node added
    // From a node below the root, paths are read from that node.
    Cell z = Call(x.get(), {NewStr("z"), NewStr("y")});
    EXPECT_EQ(Text(Read(z.get(), "Path")), "x\\y\\z");
    EXPECT_EQ(Text(Read(Call(x.get(), {NewStr(">1")}).get(), "Path")), "x\\y");
    EXPECT_EQ(Text(Read(Call(x.get(), {NewStr("")}).get(), "Path")), "x");
    EXPECT_TRUE(Call(root.get(), {NewStr(">7")})->IsNull());
    EXPECT_EQ(Text(Read(Read(z.get(), "Base").get(), "Name")), "R");
    EXPECT_EQ(Text(Read(Read(z.get(), "Parent").get(), "Name")), "y");
    EXPECT_TRUE(Read(root.get(), "Parent")->IsNull());
    // A same-named sibling is not mistaken for the node itself.
    Cell second = Call(root.get(), {NewStr("x"), NewStr("")});
    Cell inSecond = Call(second.get(), {NewStr("w"), NewStr("")});
    EXPECT_EQ(Read(second.get(), "Count")->GetInt(), 1);
    EXPECT_EQ(Read(x.get(), "Count")->GetInt(), 1);
}

TEST_F(ScriptTree, IterationAndPositions) {
    for (const char* name : {"a", "b", "c"}) Call(root.get(), {NewStr(name), NewStr("")});
    std::string seen;
    for (root->First(); !root->IsEOF(); root->Next()) seen += Text(Read(Hold(root->Element()).get(), "Name"));
    EXPECT_EQ(seen, "abc");
    EXPECT_TRUE(Hold(root->Element())->IsNull());  // past the end
    root->Last();
    EXPECT_EQ(Hold(root->GetPosition())->GetInt(), 3);
    EXPECT_EQ(Text(Read(Call(root.get(), {}).get(), "Name")), "c");
    root->SetPosition(Hold(NewInt(2)).get());
    EXPECT_EQ(root->GetStr(), "Tree(2/3, \"\")");
    root->First();
    root->Prev();  // stepping back before the first child ends a backward walk
    EXPECT_TRUE(root->IsEOF());
    EXPECT_EQ(Hold(root->GetPosition())->GetInt(), 0);
    EXPECT_EQ(root->Size(), 3);
}

TEST_F(ScriptTree, ListsGetsAndData) {
    Cell a = Call(root.get(), {NewStr("a"), NewStr("")});
    Cell b = Call(root.get(), {NewStr("b"), NewStr("")});
    Cell inner = Call(a.get(), {NewStr("inner"), NewStr("")});
    Write(a.get(), "Data", NewInt(1));
    Write(inner.get(), "Data", NewStr("deep"));
    root->SetPosition(Hold(NewInt(2)).get());
    Cell list = Read(root.get(), "List");
    EXPECT_EQ(TableOf(list.get())->Dump(), "<1/2:False> -1 => Str:[ a ]; 0 => Str:[ b ]; ");
    Cell got = Read(root.get(), "Get");
    EXPECT_EQ(Text(Read(TableOf(got.get())->CellByName("b"), "Path")), "b");
    Cell datas = Read(root.get(), "Datas");
    EXPECT_EQ(TableOf(datas.get())->Dump(), "<0/1:False> a => Int:[ 1 ]; ");
    TableOf(datas.get())->CellAt(0)->SetInt(5);  // a copy: the node keeps its value
    EXPECT_EQ(Read(a.get(), "Data")->GetInt(), 1);
    Cell all = Read(root.get(), "to_a");
    EXPECT_EQ(TableOf(all.get())->Dump(), "<1/2:False> a => Int:[ 1 ]; inner => Str:[ deep ]; ");
    EXPECT_EQ(Hold(root->GetPosition())->GetInt(), 2);  // restored
}

TEST_F(ScriptTree, DataWritesOwnTheirCells) {
    Cell leaf = Keep(Call(root.get(), {NewStr("n"), NewStr("")}));
    Cell variable = Variable(NewStr("first"));
    Write(leaf.get(), "Data", variable.get());
    variable->SetStr("changed");
    EXPECT_EQ(Text(Read(leaf.get(), "Data")), "first");
    Write(leaf.get(), "Data", NewStr("temporary"));  // taken over; the first value is freed
    VAR_* stored = leaf->Method("Data", nullptr, false);
    EXPECT_FALSE(stored->Temp);
    Write(leaf.get(), "Data", stored);  // writing a node's own value back keeps it
    EXPECT_EQ(Text(Read(leaf.get(), "Data")), "temporary");
    Read(leaf.get(), "DataClear");
    EXPECT_TRUE(Read(leaf.get(), "Data")->IsNull());
    Write(leaf.get(), "Name", NewStr("%NAME%"));
    EXPECT_EQ(Text(Read(leaf.get(), "Name")), "TTreeDir");
}

TEST_F(ScriptTree, DeepSearchesByIndexAndRange) {
    Cell k1 = Call(root.get(), {NewStr("k"), NewStr("")});
    Call(root.get(), {NewStr("k"), NewStr("k")});
    Call(root.get(), {NewStr("k"), NewStr("")});
    Cell key = Hold(NewStr("k"));
    EXPECT_EQ(Text(Hold(root->GetIndex(key.get()))), "Tree(1/1, \"k\")");
    EXPECT_EQ(Text(Read(Hold(root->GetRange(key.get(), key.get())).get(), "Path")), "k\\k");
    EXPECT_EQ(Text(Read(Hold(root->GetRange(key.get(), key.get())).get(), "Path")), "k");
    EXPECT_EQ(Hold(root->GetPosition())->GetInt(), 2);
    EXPECT_TRUE(Hold(root->GetRange(key.get(), key.get()))->IsNull());
    root->First();
    root->Prev();  // before the first child: a continued search starts there
    EXPECT_EQ(Text(Read(Hold(root->GetRange(key.get(), key.get())).get(), "Path")), "k");
    EXPECT_EQ(Hold(root->GetPosition())->GetInt(), 1);
    EXPECT_EQ(Text(Read(Hold(k1->GetIndex(key.get())).get(), "Path")), "k");  // its own name
    EXPECT_EQ(CallMethod(root.get(), "Index", {NewStr("K")})->GetInt(), 1);
    EXPECT_EQ(CallMethod(root.get(), "rIndex", {NewStr("K")})->GetInt(), 2);
}

TEST_F(ScriptTree, DeleteAndDroppedNodesReadAsNull) {
    Cell a = Keep(Call(root.get(), {NewStr("a"), NewStr("")}));
    Cell deep = Keep(Call(a.get(), {NewStr("deep"), NewStr("")}));
    Write(deep.get(), "Data", NewStr("payload"));
    Call(root.get(), {NewStr("b"), NewStr("")});
    CallMethod(root.get(), "Delete", {NewInt(0)});
    CallMethod(root.get(), "Delete", {NewInt(3)});
    EXPECT_EQ(Read(root.get(), "Count")->GetInt(), 2);
    CallMethod(root.get(), "Delete", {NewInt(1)});
    EXPECT_EQ(TableOf(Read(root.get(), "List").get())->Dump(), "<0/1:False> -1 => Str:[ b ]; ");
    for (VAR_* dropped : {a.get(), deep.get()}) {
        EXPECT_TRUE(dropped->IsNull());
        EXPECT_EQ(dropped->GetStr(), "Null");
        EXPECT_TRUE(Read(dropped, "Name")->IsNull());
        EXPECT_EQ(Call(dropped, {NewStr("x"), NewStr("")}).get(), dropped);
    }
    Read(root.get(), "Clear");
    EXPECT_EQ(Read(root.get(), "Count")->GetInt(), 0);
}

TEST_F(ScriptTree, CloseWhileOtherCellsReferToTheTree) {
    Cell child = Call(root.get(), {NewStr("c"), NewStr("")});
    Write(child.get(), "Data", NewStr("value"));
    Cell alias = Variable(root->Copy());
    Cell last = Read(alias.get(), "Close");
    EXPECT_EQ(last.get(), alias.get());
    EXPECT_EQ(alias->TypeName, "Null");
    for (VAR_* stale : {root.get(), child.get()}) {
        EXPECT_TRUE(stale->IsNull());
        EXPECT_EQ(stale->GetStr(), "Null");
        EXPECT_TRUE(stale->IsEOF());
        EXPECT_TRUE(Read(stale, "Data")->IsNull());
        EXPECT_TRUE(Read(stale, "Get")->IsNull());
        EXPECT_EQ(stale->Size(), 0);
        Write(stale, "Data", NewStr("ignored"));
        CallMethod(stale, "SaveAs", {NewStr("/nonexistent/never")});
    }
    // Closing only works on a root.
    Cell other = Variable(NewTreeCell("O"));
    Cell leaf = Call(other.get(), {NewStr("l"), NewStr("")});
    EXPECT_TRUE(Read(leaf.get(), "Close")->IsNull());
    EXPECT_FALSE(leaf->IsNull());
}

TEST_F(ScriptTree, SaveAsAndLoadThroughMethods) {
    const std::string file = (std::filesystem::temp_directory_path() / "script_tree.txt").string();
    Call(root.get(), {NewStr("%AUTO%"), NewStr("")});
    Cell held = Call(root.get(), {NewStr("%AUTO%"), NewStr("0")});
    CallMethod(root.get(), "SaveAs", {NewStr(file)});
    Cell copy = Variable(NewTreeCell("copy"));
    CallMethod(copy.get(), "Load", {NewStr(file)});
    EXPECT_EQ(Text(Read(copy.get(), "Name")), "R");
    EXPECT_EQ(copy->GetStr(), "Tree(1/2, \"\")");
    CallMethod(root.get(), "Load", {NewStr(file)});
    EXPECT_TRUE(held->IsNull());  // the old children were dropped
    EXPECT_THROW(CallMethod(root.get(), "Load", {NewStr(file + ".missing")}), ScriptError);
    EXPECT_EQ(Read(root.get(), "Count")->GetInt(), 1);
    // Loading into a node below the root does nothing.
    Cell below = Call(root.get(), {NewStr(">1")});
    CallMethod(below.get(), "Load", {NewStr(file + ".missing")});
}

TEST_F(ScriptTree, ValueReferringBackIntoItsTree) {
    // The ring root -> node -> value -> root is freed at shutdown.
    Cell ring = Variable(NewTreeCell("ring"));
    Cell node = Keep(Call(ring.get(), {NewStr("n"), NewStr("")}));
    Write(node.get(), "Data", ring.get());
    Write(node.get(), "Data", node.get());
}
