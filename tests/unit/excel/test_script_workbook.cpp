// The workbook script object: creating and opening files, cell access by
// member, index and number, member writes, sheets, and selections.
#include <fstream>

#include "dbf/ScriptDB_Selection.h"
#include "test_script_support.h"

using Texts = std::vector<std::string>;

TEST_F(ScriptExcelTest, CreatingAMissingFileSavesItAtOnceWithOneSheet) {
    const std::string file = Path("new.xlsx");
    VAR_* book = Open(file);
    ASSERT_EQ(messages_.size(), 1u);
    std::string shown = file;
    std::replace(shown.begin(), shown.end(), '/', '\\');
    EXPECT_EQ(messages_[0], "Creating Excel: " + shown);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ReadText(book, "Name"), "new.xlsx");
    EXPECT_EQ(ReadText(book, "ShName"), "Sheet1");
    TempRef list(book->Method("List", nullptr, false));
    EXPECT_EQ(TableOf(list.get())->ValueTexts(), Texts{"Sheet1"});
}

// The message keeps the backslashes; the file is found all the same.
TEST_F(ScriptExcelTest, BackslashNamesOpenTheSameFileAndKeepTheirText) {
    std::filesystem::create_directories(dir_ / "sub");
    const std::string file = Path("sub/a.xlsx");
    Drop(Open(file));
    messages_.clear();
    std::string backslashed = file;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    VAR_* book = Open(backslashed);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Opening Excel: " + backslashed);
    EXPECT_EQ(ReadText(book, "Name"), "a.xlsx");
    EXPECT_EQ(book->GetStr(), "Excel(0; a.xlsx:>Sheet1)");
}

TEST_F(ScriptExcelTest, AFileThatCannotBeReadIsNeverSavedOver) {
    const std::string file = Path("broken.xlsx");
    std::ofstream(file) << "not a workbook";
    EXPECT_THROW(Call(Creator(), {NewStr(file)}), ScriptError);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Error for Excel");
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "not a workbook");
}

TEST_F(ScriptExcelTest, CellsByColumnAtTheRowByAddressAndByNumber) {
    VAR_* book = Open(Path("cells.xlsx"));
    Write(book, "B5", NewStr("five"));
    Write(book, "B7", NewInt(7));
    Write(book, "C5", NewFloat(2.5));
    Write(book, "Position", NewInt(5));
    EXPECT_EQ(ReadText(book, "B"), "five");
    EXPECT_EQ(ReadText(book, "B7"), "7");
    EXPECT_EQ(IndexText(book, NewInt(3)), "2,5");
    EXPECT_EQ(IndexText(book, NewStr("B")), "five");
    Store(book, NewInt(4), NewBool(true));
    Store(book, NewStr("E"), NewStr("e5"));
    EXPECT_EQ(IndexText(book, NewStr("D5")), "-1");  // a boolean reads as an integer
    EXPECT_EQ(ReadText(book, "E5"), "e5");
    EXPECT_EQ(book->GetStr(), "Excel(5; cells.xlsx:>Sheet1)");
}

// A cell write leaves no attribute behind, so the next read of that name
// sees the sheet; the object's own members are not overwritten.
TEST_F(ScriptExcelTest, MemberWritesReachTheSheetAndNotAttributes) {
    VAR_* book = Open(Path("members.xlsx"));
    Write(book, "Position", NewInt(2));
    Write(book, "B", NewStr("first"));
    EXPECT_EQ(book->Props, nullptr);
    Store(book, NewStr("B2"), NewStr("second"));
    EXPECT_EQ(ReadText(book, "B"), "second");
    Write(book, "Name", NewStr("other"));
    Write(book, "Rows", NewInt(99));
    Write(book, "Cols", NewStr("Q"));
    EXPECT_EQ(ReadText(book, "Name"), "members.xlsx");
    EXPECT_EQ(ReadText(book, "Rows"), "2");
    EXPECT_EQ(ReadText(book, "Cols"), "B");
    Write(book, "Total", NewInt(3));  // not a cell: an attribute as on any value
    EXPECT_EQ(ReadText(book, "Total"), "3");
    EXPECT_EQ(ReadText(book, "Unknown"), "Null");
}

TEST_F(ScriptExcelTest, SheetsSwitchByNameAndNumberAndUnknownOnesKeepTheSheet) {
    VAR_* book = Open(Path("sheets.xlsx"));
    TempRef added(Invoke(book, "AddList", {NewStr("Data")}));
    EXPECT_EQ(ReadText(book, "ShName"), "Sheet1");
    TempRef byName(Call(book, {NewStr("Data")}));
    EXPECT_EQ(ReadText(book, "ShName"), "Data");
    TempRef byBadNumber(Call(book, {NewInt(9)}));
    EXPECT_EQ(ReadText(book, "ShName"), "Data");
    TempRef byBadName(Call(book, {NewStr("Nope")}));
    EXPECT_EQ(ReadText(book, "ShName"), "Data");
    TempRef list(book->Method("List", nullptr, false));
    GrafVarArray* names = TableOf(list.get());
    ASSERT_EQ(names->Count, 2);
    EXPECT_EQ(names->NameAt(0), "0");
    const std::string other = names->CellAt(0)->GetStr() == "Data" ? names->CellAt(1)->GetStr() : names->CellAt(0)->GetStr();
    TempRef byNumber(Call(book, {NewInt(names->CellAt(0)->GetStr() == "Data" ? 2 : 1)}));
    EXPECT_EQ(ReadText(book, "ShName"), other);
    TempRef member(book->Method("Data", nullptr, false));  // a sheet name as a member
    EXPECT_EQ(ReadText(book, "ShName"), "Data");
    Write(book, "ShName", NewStr("Renamed"));
    Write(book, "ShName", NewNull());
    EXPECT_EQ(ReadText(book, "ShName"), "Renamed");
    Write(book, "A1", NewStr("kept"));
    TempRef again(Call(book, {NewStr("Renamed")}));
    EXPECT_EQ(ReadText(book, "A1"), "kept");
}

TEST_F(ScriptExcelTest, SaveAsGoesOnWithTheSavedWorkbook) {
    VAR_* book = Open(Path("first.xlsx"));
    TempRef saved(Invoke(book, "SaveAs", {NewStr(Path("second.xlsx"))}));
    EXPECT_EQ(ReadText(book, "Name"), "second.xlsx");
    Write(book, "A1", NewStr("after"));
    TempRef save(book->Method("Save", nullptr, false));
    TempRef close(book->Method("Close", nullptr, false));
    EXPECT_TRUE(book->IsNull());
    EXPECT_EQ(book->GetStr(), "Excel(closed)");
    EXPECT_THROW(book->Method("Rows", nullptr, false), ScriptError);
    VAR_* reopened = Open(Path("second.xlsx"));
    EXPECT_EQ(ReadText(reopened, "A1"), "after");
}

TEST_F(ScriptExcelTest, CopiesKeepTheirOwnSheetAndRow) {
    VAR_* book = Open(Path("copies.xlsx"));
    TempRef added(Invoke(book, "AddList", {NewStr("Data")}));
    VAR_* copy = Keep(book->Copy());
    TempRef switched(Call(copy, {NewStr("Data")}));
    Write(copy, "Position", NewInt(4));
    EXPECT_EQ(copy->GetStr(), "Excel(4; copies.xlsx:>Data)");
    EXPECT_EQ(book->GetStr(), "Excel(0; copies.xlsx:>Sheet1)");
}

TEST_F(ScriptExcelTest, RowWalkAndUsedArea) {
    VAR_* book = Open(Path("walk.xlsx"));
    for (int row = 1; row <= 10; ++row) Store(book, NewStr("C" + std::to_string(row)), NewInt(row));
    book->First();
    int steps = 0;
    while (!book->IsEOF() && steps < 20) {
        book->Next();
        ++steps;
    }
    EXPECT_EQ(steps, 10);
    book->Last();
    EXPECT_EQ(ReadText(book, "Position"), "10");
    EXPECT_EQ(ReadText(book, "High"), "10");
    EXPECT_EQ(ReadText(book, "Low"), "1");
    EXPECT_EQ(book->Size(), 10);
    EXPECT_EQ(ReadText(book, "Cols"), "C");
}

// --- selections over a sheet ---------------------------------------------------

class ScriptExcelRanges : public ScriptExcelTest {
protected:
    void SetUp() override {
        ScriptExcelTest::SetUp();
        book_ = Open(Path("ranges.xlsx"));
        for (int row = 1; row <= 6; ++row) Store(book_, NewStr("B" + std::to_string(row)), NewInt(row));
    }
    // Column keys and row keys of a selection.
    static Texts Keys(GrafVarArray& list) {
        Texts keys;
        for (int i = 0; i < list.Count; ++i) keys.push_back(list.NameAt(i));
        return keys;
    }
    VAR_* book_ = nullptr;
};

TEST_F(ScriptExcelRanges, BoundsReadAsAddressesAndRows) {
    TempRef box(Range(book_, NewStr("A2"), NewStr("C3")));
    EXPECT_EQ(Keys(SelectionOf(box.get())->Columns), (Texts{"A", "B", "C"}));
    EXPECT_EQ(Keys(SelectionOf(box.get())->Rows), (Texts{"2", "3"}));

    TempRef digits(Range(book_, NewStr("5"), NewStr("6")));
    EXPECT_EQ(Keys(SelectionOf(digits.get())->Columns), Texts{"A"});
    EXPECT_EQ(Keys(SelectionOf(digits.get())->Rows), (Texts{"5", "6"}));

    TempRef letters(Range(book_, NewStr("A"), NewInt(3)));
    EXPECT_EQ(Keys(SelectionOf(letters.get())->Columns), (Texts{"A", "B", "C"}));
    EXPECT_EQ(SelectionOf(letters.get())->Rows.Count, 0);

    TempRef toEnd(Range(book_, NewStr("B2"), NewInt(-2)));
    EXPECT_EQ(SelectionOf(toEnd.get())->Columns.Count, 255);  // B .. IV
    EXPECT_EQ(Keys(SelectionOf(toEnd.get())->Rows), (Texts{"2", "3", "4", "5"}));

    TempRef rows(Range(book_, NewInt(-2), NewInt(-1)));
    EXPECT_EQ(Keys(SelectionOf(rows.get())->Rows), (Texts{"5", "6"}));

    TempRef all(Range(book_, nullptr, nullptr));
    EXPECT_EQ(Keys(SelectionOf(all.get())->Columns), (Texts{"A", "B"}));
    EXPECT_EQ(SelectionOf(all.get())->Rows.Count, 6);
}

// An empty first cell must not make the whole sum Null.
TEST_F(ScriptExcelRanges, SumSkipsEmptyCells) {
    Store(book_, NewStr("B1"), NewNull());
    TempRef column(Range(book_, NewStr("B1"), NewStr("B6")));
    TempRef sum(column->Method("Sum", nullptr, false));
    EXPECT_EQ(sum->GetStr(), "20");
    TempRef empty(Range(book_, NewStr("D1"), NewStr("D3")));
    TempRef none(empty->Method("Sum", nullptr, false));
    EXPECT_EQ(none->TypeName, "Null");
}

TEST_F(ScriptExcelRanges, AssigningAScalarAndAnArrayToRows) {
    TempRef value(NewInt(7));
    {
        TempRef from(NewStr("C1")), to(NewStr("D2"));
        book_->SetRange(from.get(), to.get(), value.get());
    }
    EXPECT_EQ(ReadText(book_, "C1"), "7");
    EXPECT_EQ(ReadText(book_, "D2"), "7");

    TempRef array(NewArray());
    for (int i = 1; i <= 5; ++i) TableOf(array.get())->AddCell(std::to_string(i - 1), NewInt(i * 10));
    {
        TempRef from(NewStr("E1")), to(NewStr("F2"));
        book_->SetRange(from.get(), to.get(), array.get());
    }
    EXPECT_EQ(ReadText(book_, "E1"), "10");
    EXPECT_EQ(ReadText(book_, "F1"), "20");
    EXPECT_EQ(ReadText(book_, "F2"), "40");
    EXPECT_EQ(ReadText(book_, "E3"), "Null");  // the fifth value finds no cell
}

// Filtering reads each row's cell from the sheet the selection was made on.
TEST_F(ScriptExcelRanges, FilterKeepsRowsWhoseCellsMatch) {
    TempRef added(Invoke(book_, "AddList", {NewStr("Other")}));
    VAR_* rows = Keep(Range(book_, NewStr("A1"), NewStr("B6")));
    TempRef other(Call(book_, {NewStr("Other")}));  // the selection stays on its sheet
    TempRef conditions(NewArray());
    TableOf(conditions.get())->AddCell("B", NewStr("^ 5"));  // ends with 5
    Store(book_, NewStr("B2"), NewStr("15"));                 // on the other sheet: unseen
    TempRef kept(Invoke(rows, "Filter", {conditions.release()}));
    EXPECT_EQ(Keys(SelectionOf(rows)->Rows), Texts{"5"});
    TempRef text(NewArray());
    TableOf(text.get())->AddCell("B", NewStr("=t15"));
    VAR_* all = Keep(Range(book_, nullptr, nullptr));  // now over the other sheet
    TempRef fives(Invoke(all, "Filter", {text.release()}));
    EXPECT_EQ(Keys(SelectionOf(all)->Rows), Texts{"2"});
}
