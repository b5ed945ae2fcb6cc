// The creator "Excel": open workbooks by index, the application's members,
// and the recording of the sheet last indexed.
#include "dbf/ScriptDB_Hooks.h"
#include "test_script_support.h"

TEST_F(ScriptExcelTest, CreatorListsBooksFromOneAndIndexesThem) {
    Open(Path("one.xlsx"));
    Open(Path("two.xlsx"));
    VAR_* creator = Creator();
    EXPECT_EQ(creator->GetStr(), "Creator>Excel");
    TempRef list(creator->Method("List", nullptr, false));
    GrafVarArray* books = TableOf(list.get());
    ASSERT_EQ(books->Count, 2);
    EXPECT_EQ(books->NameAt(0), "1");
    EXPECT_EQ(books->CellAt(0)->GetStr(), "one.xlsx");
    EXPECT_EQ(books->CellAt(1)->GetStr(), "two.xlsx");
    EXPECT_EQ(ReadText(creator, "Book"), "two.xlsx");  // the last opened is active
    EXPECT_EQ(ReadText(creator, "Sheild"), "Sheet1");

    TempRef key(NewInt(1));
    VAR_* first = Keep(creator->GetIndex(key.get()));
    EXPECT_EQ(first->GetStr(), "Excel(0; one.xlsx:>)");
    EXPECT_EQ(ReadText(first, "ShName"), "Sheet1");  // filled when first needed
    TempRef name(NewStr("two.xlsx"));
    VAR_* second = Keep(creator->GetIndex(name.get()));
    EXPECT_EQ(ReadText(second, "Name"), "two.xlsx");
    TempRef missing(NewStr("three.xlsx"));
    EXPECT_ANY_THROW(creator->GetIndex(missing.get()));
}

TEST_F(ScriptExcelTest, CreatorVisibleCloseAllAndClose) {
    VAR_* creator = Creator();
    EXPECT_EQ(ReadText(creator, "Visible"), "False");
    Write(creator, "Visible", NewBool(true));
    EXPECT_EQ(ReadText(creator, "Visible"), "True");
    Open(Path("a.xlsx"));
    EXPECT_EQ(ReadText(creator, "CloseAll"), "True");
    TempRef list(creator->Method("List", nullptr, false));
    EXPECT_EQ(TableOf(list.get())->Count, 0);
    EXPECT_EQ(ReadText(creator, "Close"), "True");
    // The application has quit and is not started again.
    EXPECT_THROW(Call(creator, {NewStr(Path("b.xlsx"))}), ScriptError);
    EXPECT_FALSE(std::filesystem::exists(Path("b.xlsx")));
}

TEST_F(ScriptExcelTest, IndexingRecordsTheSheetOfWorkbooksOnly) {
    VAR_* book = Open(Path("record.xlsx"));
    TempRef added(Invoke(book, "AddList", {NewStr("Data")}));
    TempRef switched(Call(book, {NewStr("Data")}));
    ASSERT_NE(RecordCurrentSheet, nullptr);
    NoteIndexedValue(book);
    EXPECT_EQ(LastExcelSheet, "Data");
    TempRef other(NewInt(5));
    NoteIndexedValue(other.get());
    EXPECT_EQ(LastExcelSheet, "Data");
}

// A new workbook that cannot be saved under the file's name is not left
// open under a name no object knows.
TEST_F(ScriptExcelTest, CreatingInAMissingFolderFailsAndLeavesNoBookOpen) {
    EXPECT_THROW(Call(Creator(), {NewStr(Path("nowhere/x.xlsx"))}), ScriptError);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind("Creating Excel: ", 0), 0u);
    TempRef list(Creator()->Method("List", nullptr, false));
    EXPECT_EQ(TableOf(list.get())->Count, 0);
}
