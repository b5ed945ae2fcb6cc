// The Array type through the cell API: naming of appended entries,
// indexing by name, ranges, iteration, set operators, members and methods.
#include "test_types_fixture.h"

namespace {

using A = TypesTest;

// Calls a method of an array variable with the given arguments and gives
// the result's text.
std::string CallMethod(Var& array, const std::string& name, Args args) {
    TempRef method(array->Method(name, nullptr, false));
    return TextOf(method->CallArgs(args.get()));
}

std::string Names(VAR_* array) {
    std::string names;
    GrafVarArray& table = *TableOf(array);
    GrafNode* node = table.Head;
    for (int i = 0; i < table.Count; ++i, node = node->NextNode)
        names += node->Name + "=" + static_cast<VAR_*>(node->Value)->GetStr() + ";";
    return names;
}

std::string Read(Var& array, const std::string& member) { return TextOf(array->Method(member, nullptr, false)); }

TEST_F(A, ShiftThenPushReusesAName) {
    Var a(NewArray());
    EXPECT_EQ(CallMethod(a, "Push", Args{NewInt(1), NewInt(2)}), "<0/2:False> 0 => Int:[ 1 ]; 1 => Int:[ 2 ]; ");
    EXPECT_EQ(Read(a, "Shift"), "1");
    EXPECT_EQ(Names(a.get()), "1=2;");
    CallMethod(a, "Push", Args{NewInt(3)});
    EXPECT_EQ(Names(a.get()), "1=2;1=3;");
    TempRef one(NewInt(1));
    EXPECT_EQ(a->GetIndex(one.get())->GetStr(), "2");  // the first of that name
    EXPECT_EQ(a->GetStr(), "<0/2:False> 1 => Int:[ 2 ]; 1 => Int:[ 3 ]; ");
}

TEST_F(A, ReadingTheArrayConstantGivesIndependentArrays) {
    TempRef first(Consts->CellByName("Array")->Copy());
    TempRef second(Consts->CellByName("Array")->Copy());
    TempRef one(NewInt(1));
    first->Add(one.get());
    EXPECT_EQ(first->Size(), 1);
    EXPECT_EQ(second->Size(), 0);
    EXPECT_EQ(Consts->CellByName("Array")->Size(), 0);
}

TEST_F(A, IndexingAndAssigningByName) {
    Var a(ArrayOf({NewStr("x"), NewStr("y"), NewStr("z")}));
    TempRef five(NewInt(5));
    TempRef missing(a->GetIndex(five.get()));
    EXPECT_TRUE(missing->Temp);
    EXPECT_EQ(missing->TypeName, "Null");
    EXPECT_EQ(a->Size(), 3);
    TempRef value(NewStr("w"));
    a->SetIndex(five.get(), value.get());
    EXPECT_EQ(Names(a.get()), "0=x;1=y;2=z;5=w;");
    TempRef again(NewStr("v"));
    a->SetIndex(five.get(), again.get());
    EXPECT_EQ(Names(a.get()), "0=x;1=y;2=z;5=v;");
}

TEST_F(A, SetIndexReplacesTheEntryGetIndexFinds) {
    Var a(NewArray());
    GrafVarArray& table = *TableOf(a.get());
    table.AddCell("k", NewInt(1));
    table.AddCell("k", NewInt(2));  // the cursor stands on the second "k"
    TempRef key(NewStr("k"));
    TempRef value(NewInt(9));
    EXPECT_EQ(a->GetIndex(key.get())->GetStr(), "2");
    a->SetIndex(key.get(), value.get());
    EXPECT_EQ(Names(a.get()), "k=1;k=9;");
}

TEST_F(A, MemberWritesNeverCreateEntries) {
    Var a(ArrayOf({NewInt(1)}));
    TempRef v(NewInt(7));
    TempRef(a->Method("k", v.get(), true));
    EXPECT_EQ(a->Size(), 1);
    EXPECT_EQ(Read(a, "k"), "7");  // the attribute
    TempRef w(NewInt(8));
    TempRef(a->Method("0", w.get(), true));
    EXPECT_EQ(Names(a.get()), "0=8;");
    EXPECT_EQ(Read(a, "0"), "8");
    EXPECT_TRUE(a->HasMethod("0"));
    EXPECT_TRUE(a->HasMethod("Compact"));
    EXPECT_FALSE(a->HasMethod("1"));
}

TEST_F(A, Iteration) {
    Var empty(NewArray());
    empty->First();
    EXPECT_TRUE(empty->IsEOF());
    Var a(ArrayOf({NewStr("x"), NewStr("y")}));
    std::string visited;
    for (a->First(); !a->IsEOF(); a->Next()) visited += TextOf(a->GetPosition()) + ":" + a->Element()->GetStr() + ",";
    EXPECT_EQ(visited, "0:x,1:y,");
    TempRef name(NewStr("1"));
    a->SetPosition(name.get());
    EXPECT_EQ(a->Element()->GetStr(), "y");
    TempRef absent(NewStr("9"));
    a->SetPosition(absent.get());
    EXPECT_EQ(a->Element()->GetStr(), "y");
}

std::string Slice(VAR_* array, VAR_* from, VAR_* to, bool exclusive = false) {
    Var a(array);
    a->ExclusiveEnd = exclusive;
    TempRef result(a->GetRange(from, to));
    from->Release();
    to->Release();
    EXPECT_FALSE(a->ExclusiveEnd);
    return Names(result.get());
}

TEST_F(A, Ranges) {
    auto abc = [] { return ArrayOf({NewStr("a"), NewStr("b"), NewStr("c")}); };
    EXPECT_EQ(Slice(abc(), NewInt(-2), NewInt(-1)), "1=b;2=c;");
    EXPECT_EQ(Slice(abc(), NewInt(-2), NewInt(-1), true), "1=b;");
    EXPECT_EQ(Slice(abc(), NewInt(0), NewInt(1)), "0=a;1=b;");
    // An absent start name is position -1, outside the table.
    EXPECT_EQ(Slice(abc(), NewStr("q"), NewInt(0)), "=Null;0=a;");
    EXPECT_EQ(Slice(NewArray(), NewInt(-1), NewInt(-1)), "");
    Var a(abc());
    TempRef from(NewInt(0));
    TempRef to(NewInt(1));
    TempRef z(NewStr("z"));
    a->SetRange(from.get(), to.get(), z.get());
    EXPECT_EQ(Names(a.get()), "0=z;1=z;2=c;");
    a->SetRange(to.get(), to.get(), from.get());  // both ends the same entry: nothing
    EXPECT_EQ(Names(a.get()), "0=z;1=z;2=c;");
}

TEST_F(A, CallingWithNames) {
    Var a(ArrayOf({NewStr("x"), NewStr("y")}));
    a->Last();
    Args both{NewStr("0"), NewInt(1)};
    EXPECT_EQ(TextOf(a->CallArgs(both.get())), "True");
    Args miss{NewStr("0"), NewStr("7")};
    EXPECT_EQ(TextOf(a->CallArgs(miss.get())), "False");
    Args none{};
    EXPECT_EQ(TextOf(a->CallArgs(none.get())), "False");
    EXPECT_EQ(TableOf(a.get())->CurIndex, 1);
}

TEST_F(A, AppendAndPrependNameByCount) {
    Var a(ArrayOf({NewStr("x")}));
    Var kept(NewStr("kept"));
    a->Add(kept.get());  // a variable is copied
    a->Sub(NewInt(5));   // a temporary is taken over
    EXPECT_EQ(Names(a.get()), "2=5;0=x;1=kept;");
    EXPECT_EQ(kept->GetStr(), "kept");
    a->Add(a.get());  // itself: a copy
    EXPECT_EQ(a->Size(), 4);
}

TEST_F(A, IntersectionUnionAndMergeByName) {
    auto named = [](std::initializer_list<std::pair<const char*, int>> entries) {
        VAR_* array = NewArray();
        for (auto& [name, value] : entries) TableOf(array)->AddCell(name, NewInt(value));
        return array;
    };
    EXPECT_EQ(Apply(named({{"a", 1}, {"b", 2}, {"c", 3}}), &VAR_::BitAnd, named({{"b", 0}})),
              "Obj:<0/1:False> b => Int:[ 2 ]; ");
    Var adjacent(named({{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}));
    TempRef onlyD(named({{"d", 0}}));
    adjacent->BitAnd(onlyD.get());
    EXPECT_EQ(Names(adjacent.get()), "d=4;");
    Var u(named({{"a", 1}, {"b", 2}}));
    TempRef other(named({{"b", 9}, {"c", 3}, {"", 4}}));
    u->BitOr(other.get());
    EXPECT_EQ(Names(u.get()), "a=1;b=2;c=3;3=4;");
    Var m(named({{"a", 1}, {"b", 2}}));
    m->BitXor(other.get());
    EXPECT_EQ(Names(m.get()), "a=1;b=9;c=3;3=4;");
    EXPECT_EQ(Apply(named({{"a", 1}}), &VAR_::BitOr, NewInt(1)), "Bit:True");
    EXPECT_EQ(Apply(named({{"a", 1}}), &VAR_::BitXor, NewInt(2)), "Bit:False");
    EXPECT_EQ(Apply(named({{"a", 1}}), &VAR_::BitAnd, NewStr("x")), "Obj:<0/1:False> a => Int:[ 1 ]; ");
}

TEST_F(A, RotationAndReversal) {
    auto abcd = [] { return ArrayOf({NewStr("a"), NewStr("b"), NewStr("c"), NewStr("d")}); };
    Var inc(abcd());
    inc->Inc();
    EXPECT_EQ(Names(inc.get()), "1=b;2=c;3=d;0=a;");
    Var dec(abcd());
    dec->Dec();
    EXPECT_EQ(Names(dec.get()), "3=d;0=a;1=b;2=c;");
    Var neg(abcd());
    neg->Neg();
    EXPECT_EQ(Names(neg.get()), "0=a;3=d;2=c;1=b;");
}

TEST_F(A, EqualityMatchesNames) {
    auto named = [](const char* first, const char* second) {
        VAR_* array = NewArray();
        TableOf(array)->AddCell(first, NewStr(first));
        TableOf(array)->AddCell(second, NewStr(second));
        return array;
    };
    EXPECT_TRUE(Compare(named("a", "b"), &VAR_::Equal, named("b", "a")));
    EXPECT_FALSE(Compare(named("a", "b"), &VAR_::NotEqual, named("b", "a")));
    EXPECT_FALSE(Compare(named("a", "b"), &VAR_::Equal, named("a", "c")));
    EXPECT_TRUE(Compare(named("a", "b"), &VAR_::NotEqual, named("a", "c")));
    EXPECT_TRUE(Compare(NewArray(), &VAR_::Equal, NewArray()));
    EXPECT_FALSE(Compare(NewArray(), &VAR_::Equal, NewInt(0)));
    EXPECT_TRUE(Compare(NewArray(), &VAR_::NotEqual, NewInt(0)));
    EXPECT_FALSE(Compare(ArrayOf({NewInt(1)}), &VAR_::Equal, NewArray()));
}

TEST_F(A, EmptyArrayMembers) {
    Var a(NewArray());
    EXPECT_EQ(TypeOf(a->Method("Pop", nullptr, false)), "Null");
    EXPECT_EQ(TypeOf(a->Method("Shift", nullptr, false)), "Null");
    EXPECT_EQ(TypeOf(a->Method("Right", nullptr, false)), "Null");
    EXPECT_EQ(TypeOf(a->Method("Sum", nullptr, false)), "Null");
    EXPECT_EQ(Read(a, "RKey"), "");
    EXPECT_EQ(Read(a, "Low"), "");
}

TEST_F(A, EndsStackAndKeys) {
    Var a(ArrayOf({NewStr("x"), NewStr("y"), NewStr("z")}));
    EXPECT_EQ(Read(a, "Low") + Read(a, "High") + Read(a, "LKey") + Read(a, "RKey"), "0202");
    EXPECT_EQ(Read(a, "Left") + Read(a, "Right"), "xz");
    EXPECT_EQ(Read(a, "Keys"), "<2/3:False> 0 => Str:[ 0 ]; 1 => Str:[ 1 ]; 2 => Str:[ 2 ]; ");
    EXPECT_EQ(Read(a, "Pop"), "z");
    EXPECT_EQ(a->GetStr(), "<0/2:False> 0 => Str:[ x ]; 1 => Str:[ y ]; ");  // cursor on the first
}

TEST_F(A, SumFollowsTheFirstValue) {
    Var ints(ArrayOf({NewInt(1), NewFloat(2.5)}));
    EXPECT_EQ(Tagged(TempRef(ints->Method("Sum", nullptr, false)).get()), "Int:3");
    Var floats(ArrayOf({NewFloat(2.5), NewInt(1)}));
    EXPECT_EQ(Tagged(TempRef(floats->Method("Sum", nullptr, false)).get()), "Flt:3,5");
    Var texts(ArrayOf({NewStr("a"), NewStr("b"), NewInt(3)}));
    EXPECT_EQ(Tagged(TempRef(texts->Method("Sum", nullptr, false)).get()), "Str:ab3");
    EXPECT_EQ(Names(ints.get()), "0=1;1=2,5;");
}

TEST_F(A, SortingCloningAndCompacting) {
    Var a(ArrayOf({NewInt(10), NewInt(9), NewInt(100)}));
    TempRef(a->Method("SortVal", nullptr, false));
    EXPECT_EQ(Names(a.get()), "0=10;2=100;1=9;");
    TempRef(a->Method("SortKey", nullptr, false));
    EXPECT_EQ(Names(a.get()), "0=10;1=9;2=100;");
    Var nested(ArrayOf({NewNull(), ArrayOf({NewInt(1)}), NewInt(0)}));
    TempRef clone(nested->Method("Clone", nullptr, false));
    TempRef one(NewInt(1));
    TableOf(nested.get())->CellAt(1)->Add(one.get());
    EXPECT_EQ(TableOf(clone.get())->CellAt(1)->Size(), 1);  // deep
    EXPECT_EQ(Names(TempRef(nested->Method("Compact", nullptr, false)).get()),
              "1=<1/2:False> 0 => Int:[ 1 ]; 1 => Int:[ 1 ]; ;2=0;");  // only Null-typed values go
}

TEST_F(A, PushUnShiftIsNameAndJoin) {
    Var a(NewArray());
    TempRef push(a->Method("Push", nullptr, false));
    EXPECT_EQ(push->GetStr(), "Object[Array].<Push>");
    CallMethod(a, "UnShift", Args{NewStr("p"), NewStr("q")});
    EXPECT_EQ(Names(a.get()), "1=p;0=q;");  // the last argument went in first
    CallMethod(a, "Push", Args{NewStr("r")});
    EXPECT_EQ(Names(a.get()), "1=p;0=q;2=r;");
    EXPECT_EQ(CallMethod(a, "IsName", Args{NewStr("2")}), "True");
    EXPECT_EQ(CallMethod(a, "IsName", Args{NewStr("7")}), "False");
    EXPECT_EQ(CallMethod(a, "Join", Args{NewStr("-")}), "p-q-r");
    EXPECT_EQ(CallMethod(a, "Join", Args{}), "pqr");
}

TEST_F(A, SplitAllPlainAndKeyed) {
    Var a(ArrayOf({NewStr("k1=a=b"), NewStr("k2")}));
    EXPECT_EQ(CallMethod(a, "SplitAll", Args{NewStr("=")}),
              "<1/2:False> 0 => Obj:[ <2/3:False> 0 => Str:[ k1 ]; 1 => Str:[ a ]; 2 => Str:[ b ];  ]; "
              "1 => Obj:[ <0/1:False> 0 => Str:[ k2 ];  ]; ");
    EXPECT_EQ(CallMethod(a, "SplitAll", Args{NewStr("="), NewBool(true)}),
              "<1/2:False> k1 => Obj:[ <1/2:False> 0 => Str:[ a ]; 1 => Str:[ b ];  ]; "
              "k2 => Obj:[ <-1/0:False>  ]; ");
}

TEST_F(A, ReKeysAndReValCycleThroughArguments) {
    Var a(ArrayOf({NewStr("x"), NewStr("y"), NewStr("z")}));
    EXPECT_EQ(CallMethod(a, "ReKeys", Args{NewInt(1), NewInt(2)}),
              "<2/3:False> x => Int:[ 1 ]; y => Int:[ 2 ]; z => Int:[ 1 ]; ");
    EXPECT_EQ(CallMethod(a, "ReVal", Args{NewStr("v")}),
              "<2/3:False> 0 => Str:[ v ]; 1 => Str:[ v ]; 2 => Str:[ v ]; ");
    EXPECT_EQ(CallMethod(a, "ReVal", Args{}), "<2/3:False> 0 => Nil:[ Null ]; 1 => Nil:[ Null ]; 2 => Nil:[ Null ]; ");
}

}  // namespace

namespace {

// Values that live inside the array they change must be read before the
// array lets go of them.
TEST_F(A, OperandsNestedInTheArrayStayValid) {
    Var a(ArrayOf({ArrayOf({NewStr("inner")}), NewInt(2)}));
    TempRef zero(NewStr("0"));
    VAR_* child = TableOf(a.get())->CellAt(0);
    a->SetIndex(zero.get(), TableOf(child)->CellAt(0));  // a[0] = a[0][0]
    EXPECT_EQ(Names(a.get()), "0=inner;1=2;");

    Var b(NewArray());
    TableOf(b.get())->AddCell("x", ArrayOf({NewInt(1)}));  // b.x has one entry, named 0
    TableOf(b.get())->AddCell("0", NewInt(5));
    b->BitAnd(TableOf(b.get())->CellAt(0));  // removes b.x, which holds the names
    EXPECT_EQ(Names(b.get()), "0=5;");

    Var c(NewArray());
    TableOf(c.get())->AddCell("k", NewInt(1));
    TableOf(c.get())->AddCell("m", NewInt(2));
    TempRef other(NewArray());
    TableOf(other.get())->AddCell("k", NewInt(3));
    TableOf(c.get())->CellAt(0)->Assign(other.get());  // c.k = [k: 3]
    c->BitXor(TableOf(c.get())->CellAt(0));            // c ^ c.k replaces c.k itself
    EXPECT_EQ(Names(c.get()), "k=3;m=2;");
    TempRef self(c->Method("m", c.get(), true));        // c.m = c
    EXPECT_EQ(TableOf(TableOf(c.get())->CellAt(1))->Count, 2);
}

}  // namespace
