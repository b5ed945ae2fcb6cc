// Method values and their owners, the Function, Variant and Object types.
#include "test_types_fixture.h"

#include "values/FunctionType.h"

namespace {

using C = TypesTest;

TEST_F(C, MethodValueGivesATemporaryOwnerBackWhenFreed) {
    VAR_* owner = NewArray();  // a temporary, as the result of an expression
    VAR_* push = owner->Method("Push", nullptr, false);
    EXPECT_FALSE(owner->Temp);  // kept alive while the method value exists
    owner->Release();           // the expression's consumer: nothing happens
    {
        Args args{NewInt(1)};
        VAR_* result = push->CallArgs(args.get());
        EXPECT_EQ(result, owner);  // Push gives the array itself
    }
    push->Release();
    EXPECT_TRUE(owner->Temp);
    EXPECT_EQ(owner->Size(), 1);
    owner->Release();  // the next consumer destroys it
}

TEST_F(C, MethodValueOfAVariableLeavesItsOwnerAlone) {
    Var owner(NewArray());
    VAR_* push = owner->Method("Push", nullptr, false);
    push->Release();
    EXPECT_FALSE(owner->Temp);
}

TEST_F(C, ACopiedMethodValueCallsTheSameMethodOnTheSameOwner) {
    Var owner(NewArray());
    TempRef push(owner->Method("Push", nullptr, false));
    Var copy(push->Copy());
    EXPECT_EQ(copy->GetStr(), "Object[Array].<Push>");
    EXPECT_TRUE(copy->Equal(push.get()));
    Args args{NewStr("a")};
    TempRef(copy->CallArgs(args.get()));
    EXPECT_EQ(owner->Size(), 1);
}

TEST_F(C, OwnerIsBoundWhileTheMethodRuns) {
    Var owner(ArrayOf({NewStr("x")}));
    Var other(NewArray());
    TempRef join(owner->Method("Join", nullptr, false));
    Args args{};
    // Another array bound at the time of the call must not be the one joined.
    other->Bind();
    const std::string joined = TextOf(join->CallArgs(args.get()));
    other->Unbind();
    EXPECT_EQ(joined, "x");
}

TEST_F(C, FunctionCellsWithoutCode) {
    Var f(VAR_::Create(Types.Function, true));
    EXPECT_FALSE(f->IsNull());
    EXPECT_TRUE(f->IsEmpty());
    Args args{};
    EXPECT_EQ(f->CallArgs(args.get()), f.get());  // the default: the value itself
    EXPECT_EQ(f->TypeTag(), std::string("Fnc"));
}

TEST_F(C, VariantHoldsAnAutomationValue) {
    Var v(NewInt(5));
    v->Retype(Types.Variant);
    EXPECT_EQ(v->GetStr(), "5");
    EXPECT_EQ(v->GetInt(), 0);
    EXPECT_TRUE(v->IsNull());
    EXPECT_TRUE(v->IsEmpty());
    EXPECT_EQ(v->GetVariant().Kind(), VarKind::I8);
    EXPECT_EQ(v->TypeTag(), std::string("Nil"));
    Var date(NewFromVariant(Variant::FromDate(2.0)));
    EXPECT_EQ(date->TypeName, "Variant");
    Var copy(date->Copy());
    EXPECT_EQ(copy->GetVariant().Kind(), VarKind::Date);
    v->Retype(Types.String);
    EXPECT_EQ(Tagged(v.get()), "Str:5");
}

TEST_F(C, NewObjectIsNullAndNamedObject) {
    Var o(VAR_::Create(Types.Object, true));
    EXPECT_TRUE(o->IsNull());
    EXPECT_FALSE(o->IsEmpty());
    EXPECT_EQ(o->GetStr(), "Object");
    EXPECT_EQ(o->TypeTag(), std::string("Obj"));
    int object = 0;
    o->Data.ptr = &object;
    Var shared(o->Copy());
    EXPECT_EQ(shared->Data.ptr, &object);  // the reference is shared, not owned
    o->Data.ptr = nullptr;
    shared->Data.ptr = nullptr;
}

}  // namespace
