// The built-in type singletons: created once at start (in the order the
// value model fixes) and destroyed in reverse order at exit.
#include "values/ArrayType.h"
#include "values/FunctionType.h"
#include "values/NumberTypes.h"
#include "values/StringType.h"
#include "values/VariantType.h"

namespace {

template <typename T>
Type_* MakeType() {
    Type_* type = new T;
    type->Create();
    return type;
}

void DestroyType(Type_*& type) {
    delete type;
    type = nullptr;
}

}  // namespace

void CreateBuiltinTypes() {
    Types.Null = MakeType<Type_>();
    Types.Int = MakeType<Int_>();
    Types.Float = MakeType<Float_>();
    Types.Bool = MakeType<Bool_>();
    Types.String = MakeType<String_>();
    Types.Function = MakeType<Function_>();
    Types.Object = MakeType<Object_>();
    Types.Array = MakeType<Array_>();
    Types.Variant = MakeType<Variant_>();
}

void DestroyBuiltinTypes() {
    DestroyType(Types.Variant);
    DestroyType(Types.Array);
    DestroyType(Types.Object);
    DestroyType(Types.Function);
    DestroyType(Types.String);
    DestroyType(Types.Bool);
    DestroyType(Types.Float);
    DestroyType(Types.Int);
    DestroyType(Types.Null);
}
