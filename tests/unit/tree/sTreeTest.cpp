// The tree store: structure, names, lookups, sorting and the text file.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tree/sTree.h"
#include "values/ScriptError.h"
#include "values/unitUtils.h"

namespace {

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("tree_store_" + name)).string();
}

// Root R: directory A with leaves x and y, then leaf b.
std::shared_ptr<TTree> ExampleTree() {
    auto root = TTree::Create("R");
    root->AddNode("A", "", true);
    root->AddNode("x", "A", false);
    root->AddNode("y", "A", false);
    root->AddNode("b", "", false);
    return root;
}

std::string Names(const TreeDir& dir) {
    std::string out;
    for (const TreeRef& child : dir.Items) {
        if (!out.empty()) out += ",";
        out += child ? child->Name : "<empty>";
    }
    return out;
}

class TreeStore : public ::testing::Test {
protected:
    void SetUp() override { ResetAutoCounter(); }
};

}  // namespace

TEST_F(TreeStore, SavesExampleTreeByteForByte) {
    const std::string file = TempFile("example.txt");
    AutoCounter = 7;
    ExampleTree()->Save(file);
    EXPECT_EQ(ReadWholeFile(file),
              "#File of Dir\r\n"
              "#  version:1.1\r\n"
              "#  Type Save: 0 (Save to text)\r\n"
              "#  Size Date: 4\r\n"
              "#  Name Tree: R\r\n"
              "\r\n"
              "AUTO 7\r\n"
              "> R\r\n"
              "+ A\r\n"
              "|- x\r\n"
              "|- y\r\n"
              "- b\r\n");
}

TEST_F(TreeStore, SaveOfEmptyRootWritesOnlyTheHeader) {
    const std::string file = TempFile("empty.txt");
    TTree::Create("E")->Save(file);
    const std::string bytes = ReadWholeFile(file);
    EXPECT_EQ(bytes.substr(bytes.size() - 5), "> E\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 8);
}

TEST_F(TreeStore, LoadRebuildsAndReplacesTheChildren) {
    const std::string file = TempFile("reload.txt");
    ExampleTree()->Save(file);
    auto root = TTree::Create("other");
    root->AddNode("old", "", false);
    TreeRef old = root->Items[0];
    root->Load(file);
    root->Load(file);
    EXPECT_EQ(root->Name, "R");
    EXPECT_EQ(Names(*root), "A,b");
    ASSERT_NE(root->Items[0]->AsDir(), nullptr);
    EXPECT_EQ(Names(*root->Items[0]->AsDir()), "x,y");
    EXPECT_EQ(root->Items[0]->AsDir()->Items[1]->Parent, root->Items[0].get());
    EXPECT_EQ(root->Items[0]->Parent, root.get());
    EXPECT_EQ(root->Items[1]->AsDir(), nullptr);
    EXPECT_EQ(root->LastNode.lock()->Name, "b");
    EXPECT_FALSE(old->Attached);
    EXPECT_EQ(old->Parent, nullptr);
}

TEST_F(TreeStore, AutoNamesContinueAfterSaveAndLoad) {
    const std::string file = TempFile("auto.txt");
    auto root = TTree::Create("R");
    for (int i = 0; i < 3; ++i) root->AddNode("%AUTO%", "", false);
    EXPECT_EQ(Names(*root), "0,1,2");
    root->Save(file);
    ResetAutoCounter();
    auto loaded = TTree::Create("L");
    loaded->Load(file);
    EXPECT_EQ(Names(*loaded), "0,1,2");
    EXPECT_EQ(loaded->AddNode("n%auto%", "", false)->Name, "n3");
}

TEST_F(TreeStore, NameMacros) {
    auto root = TTree::Create("%NAME%:%this%");
    EXPECT_EQ(root->Name, "TTree:");
    TreeClass* dir = root->AddNode("%Name% in %THIS%", "", true);
    EXPECT_EQ(dir->Name, "TTreeDir in TTree");
    EXPECT_EQ(root->AddNode("%name%<%this%", dir->Name, false)->Name, "TTreeFile<TTreeDir");
    EXPECT_EQ(root->AddNode("a%odd%b", "", false)->Name, "aODDb");
    EXPECT_EQ(root->AddNode("100% sure", "", false)->Name, "100% sure");
    EXPECT_EQ(root->AddNode("%abcdefghijklmnopqrstuvwxyz0123%", "", false)->Name, "ABCDEFGHIJKLMNOPQRSTUVWXY");
    const std::string stamp = TTree::Create("%Time% - %Date%")->Name;
    EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{1,2}:\d\d:\d\d - \d\d\.\d\d\.\d{4})"))) << stamp;
}

TEST_F(TreeStore, LocateByNumbersAndNames) {
    auto root = TTree::Create("R");
    TreeClass* a = root->AddNode("A", "", true);
    root->AddNode("B", "", false);
    TreeClass* second = root->AddNode("S", "", true);
    TreeClass* first = root->AddNode("f", "S", false);
    TreeClass* ab = root->AddNode("B", "A", false);
    EXPECT_EQ(root->Locate(""), root.get());
    EXPECT_EQ(root->Locate(">3>1"), first);
    EXPECT_EQ(root->Locate("A\\B"), ab);
    EXPECT_EQ(root->Locate("Z\\B"), root->Items[1].get());
    EXPECT_EQ(root->Locate("\\a\\"), a);
    EXPECT_EQ(root->Locate(">0"), root.get());
    EXPECT_EQ(root->Locate(">3>0"), second);
    EXPECT_EQ(root->Locate(">4"), nullptr);
    EXPECT_EQ(root->Locate(">x"), nullptr);
    EXPECT_EQ(root->Locate("S>1\\anything>9"), first);  // the rest after a leaf is ignored
    // A path ending at a leaf adds to the leaf's parent; one finding none, to the root.
    EXPECT_EQ(root->AddNode("g", ">3>1", false)->Parent, second);
    EXPECT_EQ(root->AddNode("h", ">9", false)->Parent, root.get());
}

TEST_F(TreeStore, IndexOfIgnoresCaseButFindDeepDoesNot) {
    auto root = TTree::Create("R");
    root->AddNode("first", "", false);
    root->AddNode("\xc0\xe1\xe2", "", false);  // Cyrillic, mixed case
    root->AddNode("Deep", "", true);
    root->AddNode("leaf", "Deep", false);
    EXPECT_EQ(root->IndexOf("\xe0\xc1\xc2"), 2u);
    EXPECT_EQ(root->IndexOf("DEEP"), 3u);
    EXPECT_EQ(root->IndexOf("none"), 0u);
    EXPECT_EQ(root->LastIndexOf("FIRST"), 0u);
    EXPECT_EQ(root->LastIndexOf("deep"), 3u);
    EXPECT_EQ(root->FindDeep("LEAF", false), nullptr);
    EXPECT_EQ(root->FindDeep("leaf", false)->Parent->Name, "Deep");
    EXPECT_EQ(root->FindDeep("R", false), root.get());
}

TEST_F(TreeStore, ContinuedFindDeepMeetsEveryMatchOnceInOrder) {
    auto root = TTree::Create("R");
    root->AddNode("k", "", true);             // 1: directory named k
    root->AddNode("k", ">1", false);          // 2: its first child, also k
    root->AddNode("other", ">1", true);
    root->AddNode("k", ">1>2", false);        // 3: deeper
    root->AddNode("z", "", true);
    root->AddNode("k", ">2", false);          // 4: first child of a later directory
    root->AddNode("k", "", false);            // 5
    std::vector<TreeClass*> expected{root->Items[0].get(), root->Items[0]->AsDir()->Items[0].get(),
                                     root->Items[0]->AsDir()->Items[1]->AsDir()->Items[0].get(),
                                     root->Items[1]->AsDir()->Items[0].get(), root->Items[2].get()};
    std::vector<TreeClass*> found{root->FindDeep("k", false)};
    while (TreeClass* next = root->FindDeep("k", true)) found.push_back(next);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(root->FindDeep("k", true), nullptr);  // stays at its end
    EXPECT_EQ(root->FindDeep("k", false), expected[0]);
}

TEST_F(TreeStore, FindByPathTracksChildIndex) {
    auto root = ExampleTree();
    EXPECT_EQ(root->FindByPath("a\\Y")->Name, "y");
    EXPECT_EQ(root->ChildIndex, 1u);
    EXPECT_EQ(root->Items[0]->AsDir()->ChildIndex, 2u);
    EXPECT_EQ(root->FindByPath("b\\more")->Name, "b");
    EXPECT_EQ(root->FindByPath("nothing"), nullptr);
    EXPECT_EQ(root->ChildIndex, 0u);
}

TEST_F(TreeStore, RemoveAtDetachesAndIgnoresBadIndexes) {
    auto root = ExampleTree();
    TreeRef a = root->Items[0];
    TreeRef x = a->AsDir()->Items[0];
    root->RemoveAt(0);
    root->RemoveAt(3);
    root->RemoveAt(-1);
    EXPECT_EQ(Names(*root), "A,b");
    root->RemoveAt(1);
    EXPECT_EQ(Names(*root), "b");
    EXPECT_FALSE(a->Attached);
    EXPECT_FALSE(x->Attached);
    EXPECT_EQ(a->Parent, nullptr);
    EXPECT_EQ(x->Parent, a.get());
    EXPECT_EQ(RootOf(*x), nullptr);
    EXPECT_EQ(RootOf(*root->Items[0]), root.get());
    a.reset();  // the directory dies; the leaf held here outlives it
    EXPECT_EQ(x->Parent, nullptr);
    EXPECT_EQ(PathOf(*x), "");
}

TEST_F(TreeStore, CountsPathsAndSorting) {
    auto root = ExampleTree();
    EXPECT_EQ(root->TotalCount(), 4u);
    EXPECT_EQ(PathOf(*root), "");
    EXPECT_EQ(PathOf(*root->Locate("A\\y")), "A\\y");
    root->AddNode("\xe0", "", false);
    root->AddNode("Z", "", false);
    root->Items.push_back(nullptr);
    root->AddNode("a", "", false);
    root->AddNode("B", "", false);
    root->AddNode("y0", "A", false);
    root->AddNode("X", "A", false);
    root->Sort();
    EXPECT_EQ(Names(*root), "A,Z,b,\xe0,<empty>,B,a");
    EXPECT_EQ(Names(*root->Items[0]->AsDir()), "x,y,y0,X");
    root->SortAll();
    EXPECT_EQ(Names(*root->Items[0]->AsDir()), "X,x,y,y0");
    EXPECT_EQ(root->TotalCount(), 11u);
}

TEST_F(TreeStore, FreeAllAndCloseDropEverything) {
    auto root = ExampleTree();
    TreeRef a = root->Items[0];
    root->FreeAll();
    EXPECT_EQ(root->ChildCount(), 0u);
    EXPECT_FALSE(a->Attached);
    EXPECT_TRUE(root->Attached);
    root->AddNode("again", "", false);
    root->Close();
    EXPECT_FALSE(root->Attached);
    EXPECT_EQ(root->ChildCount(), 0u);
    EXPECT_TRUE(root->LastNode.expired());
}

TEST_F(TreeStore, LoadFailuresLeaveTreeAndCounterAlone) {
    const std::string file = TempFile("bad.txt");
    auto root = ExampleTree();
    AutoCounter = 42;
    EXPECT_THROW(root->Load(TempFile("missing.txt")), ScriptError);
    WriteWholeFile(file, "AUTO 5\r\n+ A\r\nAUTO x1\r\n");
    EXPECT_THROW(root->Load(file), ScriptError);
    WriteWholeFile(file, "- leaf\r\n|- child\r\n");
    try {
        root->Load(file);
        FAIL();
    } catch (const ScriptError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(AutoCounter, 42);
    EXPECT_EQ(Names(*root), "A,b");
    EXPECT_EQ(root->Name, "R");
}

TEST_F(TreeStore, LoadReadsLooseLines) {
    const std::string file = TempFile("loose.txt");
    // LF and CR line ends, blanks around names, comments, and an ascent of
    // two levels at once.
    WriteWholeFile(file, "# comment\n\n>   Root name  \r+ A\n|+ B\n||+ C\r\n|||- c\r|- d\n- g");
    auto root = TTree::Create("x");
    root->Load(file);
    EXPECT_EQ(root->Name, "Root name");
    EXPECT_EQ(Names(*root), "A,g");
    EXPECT_EQ(Names(*root->Items[0]->AsDir()), "B,d");
    EXPECT_EQ(PathOf(*root->Locate(">1>1>1>1")), "A\\B\\C\\c");
}

TEST_F(TreeStore, LineEndsOnTheBordersOfReadPieces) {
    // The file is read 64 KiB at a time: a CR LF split between two pieces
    // is one line end, a bare CR ending a piece is one as well.
    constexpr size_t kPiece = 65536;
    std::string text = "> R\r\n- ";
    text += std::string(kPiece - 1 - text.size(), 'a');  // its CR is the piece's last byte
    text += "\r\n- ";
    text += std::string(2 * kPiece - 1 - text.size(), 'b');  // a bare CR at the second border
    text += "\r- c";                                        // and no line end at all
    const std::string file = TempFile("borders.txt");
    WriteWholeFile(file, text);
    auto root = TTree::Create("x");
    root->Load(file);
    ASSERT_EQ(root->Items.size(), 3u);
    EXPECT_EQ(root->Items[0]->Name, std::string(kPiece - 1 - 7, 'a'));
    EXPECT_EQ(root->Items[1]->Name.find_first_not_of('b'), std::string::npos);
    EXPECT_EQ(root->Items[2]->Name, "c");
}

TEST_F(TreeStore, MalformedFilesGiveAnErrorOrATree) {
    const std::string file = TempFile("garbage.bin");
    std::string garbage;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const char c = char(seed >> 16);
        garbage += (seed >> 8) % 7 == 0 ? '|' : c;
    }
    for (size_t cut : {garbage.size(), size_t(1000), size_t(1)}) {
        WriteWholeFile(file, garbage.substr(0, cut));
        auto root = TTree::Create("g");
        try {
            root->Load(file);
            root->Save(TempFile("garbage.out"));
        } catch (const ScriptError&) {
        }
    }
    // Truncated in the middle of a node line.
    WriteWholeFile(file, "#File of Dir\r\nAUTO 3\r\n> R\r\n+ A\r\n|- x");
    auto root = TTree::Create("t");
    root->Load(file);
    EXPECT_EQ(root->TotalCount(), 2u);
}

TEST_F(TreeStore, TenThousandLevelsLoadSaveSearchAndFree) {
    const std::string file = TempFile("deep.txt");
    constexpr int kDepth = 10000;
    std::string text = "> deep\r\n";
    for (int level = 0; level < kDepth; ++level) text += std::string(size_t(level), '|') + "+ d\r\n";
    text += std::string(kDepth, '|') + "- bottom\r\n";
    WriteWholeFile(file, text);
    auto root = TTree::Create("x");
    root->Load(file);
    EXPECT_EQ(root->TotalCount(), uint64_t(kDepth) + 1);
    TreeClass* bottom = root->FindDeep("bottom", false);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(PathOf(*bottom).size(), size_t(kDepth) * 2 + 6);
    EXPECT_EQ(root->FindDeep("bottom", true), nullptr);
    root->SortAll();
    root->Save(TempFile("deep.out"));
    const std::string header =
        "#File of Dir\r\n#  version:1.1\r\n#  Type Save: 0 (Save to text)\r\n#  Size Date: 10001\r\n"
        "#  Name Tree: deep\r\n\r\nAUTO 0\r\n";
    EXPECT_EQ(ReadWholeFile(TempFile("deep.out")), header + text);
    TreeRef held = bottom->shared_from_this();
    root.reset();
    EXPECT_EQ(held->Parent, nullptr);
}
