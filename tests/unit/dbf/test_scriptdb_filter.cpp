// The filter text test (operator and modifier characters) and the
// "Filter" method of a selection.
#include "test_scriptdb_support.h"

namespace {

struct FilterCase {
    const char* value;
    const char* filter;
    bool passes;
};

TEST(FilterText, EveryOperatorCharacter) {
    const FilterCase cases[] = {
        {"ABC", "= ABC", true},   {"ABC", "= AB", false},   {"ABC", "! AB", true},     {"ABC", "! ABC", false},
        {"ABC", "0 X", true},     {"ABC", "0 B", false},    {"ABC", "> B", true},      {"ABC", "> A", false},
        {"ABCA", "< A", true},    {"XYA", "< A", false},    {"ABC", "< Q", true},      {"ABC", "@ AB", true},
        {"ABC", "@ BC", false},   {"ABC", "] BC", true},    {"ABC", "] AB", false},    {"ABC", "^ BC", true},
        {"ABC", "^ AB", false},   {"ABC", "[ AB", true},    {"ABC", "[ BC", false},    {"ABC", "~ B", true},
        {"ABC", "~ Q", false},
    };
    for (const FilterCase& c : cases)
        EXPECT_EQ(PassesFilter(c.value, c.filter), c.passes) << c.value << " against " << c.filter;
}

TEST(FilterText, ModifiersChangeValueOrPatternBeforeComparing) {
    const FilterCase cases[] = {
        {"AbC", "=Labc", true},    {"AbC", "=LABC", false},   {"AbC", "=RABC", true},    {" abc ", "=T abc ", true},
        {"abc", "=Uabc", false},   {"abc", "=UABC", true},    {" AbC ", "=labc", true},  {" AbC ", "=r ABC ", true},
        {"  ABC ", "=tABC", true}, {"  ABC ", "=xABC", false}, {" abc ", "=u ABC", false}, {" abc ", "=uABC", true},
        {"ABC", "=tabc", false},   // comparisons are exact after the modifier
    };
    for (const FilterCase& c : cases)
        EXPECT_EQ(PassesFilter(c.value, c.filter), c.passes) << c.value << " against " << c.filter;
}

TEST(FilterText, AOneCharacterFilterHasAnEmptyPattern) {
    EXPECT_TRUE(PassesFilter("", "="));
    EXPECT_FALSE(PassesFilter("x", "="));
    EXPECT_TRUE(PassesFilter("x", "0"));
    EXPECT_TRUE(PassesFilter("", "0"));
    EXPECT_FALSE(PassesFilter("x", "?"));  // an empty pattern never occurs
    EXPECT_FALSE(PassesFilter("", ""));
}

class SelectionFilter : public ScriptDbTest {
protected:
    void SetUp() override {
        ScriptDbTest::SetUp();
        MakeTable("t", {{"NAME", "C,6"}, {"KIND", "C,2"}},
                  {{"ABC", "x"}, {"abd", "y"}, {" ABC", "y"}, {"XYZ", "x"}, {"ABC", "z"}});
        tb_ = Keep(Open("t"));
    }
    // The rows left in a selection of every record after a filter.
    Texts RowsAfter(VAR_* conditions, VAR_* exclude = nullptr) {
        VAR_* sel = Keep(Call(tb_, {}));
        std::vector<VAR_*> args{conditions};
        if (exclude) args.push_back(exclude);
        TempRef result(Invoke(sel, "Filter", args));
        EXPECT_EQ(result.get(), sel);
        Texts rows;
        GrafVarArray& list = SelectionOf(sel)->Rows;
        for (int i = 0; i < list.Count; ++i) rows.push_back(list.NameAt(i));
        return rows;
    }
    VAR_* tb_ = nullptr;
};

TEST_F(SelectionFilter, AllConditionsMustHold) {
    EXPECT_EQ(RowsAfter(Map({{"NAME", NewStr("=tABC")}})), (Texts{"1", "3", "5"}));
    EXPECT_EQ(RowsAfter(Map({{"NAME", NewStr("=tABC")}, {"KIND", NewStr("=ty")}})), (Texts{"3"}));
    EXPECT_EQ(RowsAfter(Map({{"NAME", NewStr("@Rab")}})), (Texts{"1", "2", "5"}));
}

TEST_F(SelectionFilter, ExcludeRemovesRowsWhereAnyConditionHolds) {
    EXPECT_EQ(RowsAfter(Map({{"NAME", NewStr("=tABC")}}), NewBool(true)), (Texts{"2", "4"}));
    EXPECT_EQ(RowsAfter(Map({{"NAME", NewStr("=tXYZ")}, {"KIND", NewStr("=tz")}}), NewBool(true)),
              (Texts{"1", "2", "3"}));
}

TEST_F(SelectionFilter, ConditionsOnOtherColumnsAndNonArraysChangeNothing) {
    EXPECT_EQ(RowsAfter(Map({{"ZIP", NewStr("=t1")}})), (Texts{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(RowsAfter(NewStr("=tABC")), (Texts{"1", "2", "3", "4", "5"}));
}

TEST_F(SelectionFilter, AFilteredSelectionIsAssignedOnlyInItsRows) {
    VAR_* sel = Keep(Call(tb_, {}));
    TempRef(Invoke(sel, "Filter", {Map({{"KIND", NewStr("=tx")}})}));
    AssignRange(sel, NewStr("KIND"), NewStr("KIND"), NewStr("k"));
    EXPECT_EQ(Column("t", "KIND"), (Texts{"k", "y", "y", "k", "z"}));
}

}  // namespace
