// Operators on cells through the type protocol of the left operand.
// Non-assigning operators work on a copy of the left operand; compound
// assignments work on the left operand's own cell. An empty operand takes
// part as a Null value.
#include "compiler/OpCodes.h"
#include "vm/Machine.h"
#include "vm/VmErrors.h"

namespace {

// Applies a slot to a fresh copy of `a`; the copy is the result unless the
// slot answered with a new cell.
template <class Slot>
VAR_* OnCopy(VAR_* a, Slot slot) {
    VAR_* copy = a->Copy();
    VAR_* result = nullptr;
    try {
        result = slot(copy);
    } catch (...) {
        copy->Release();
        throw;
    }
    if (result != copy) copy->Release();
    return result;
}

VAR_* Compound(VAR_* a, VAR_* b, uint16_t code) {
    switch (code) {
    case opAddAssign: return a->Add(b);
    case opSubAssign: return a->Sub(b);
    case opMulAssign: return a->Mul(b);
    case opBitAndAssign: return a->BitAnd(b);
    case opBitOrAssign: return a->BitOr(b);
    case opBitXorAssign: return a->BitXor(b);
    case opAndAssign: return a->And(b);
    case opOrAssign: return a->Or(b);
    case opXorAssign: return a->Xor(b);
    case opShlAssign: return a->Shl(b);
    case opShrAssign: return a->Shr(b);
    default: a->Retype(Types.String); return a->Add(b);  // ".="
    }
}

// Two plain integers (no attributes to carry over): the Int slots'
// results, computed without the copy and the slot calls.
bool IntegerFastPath(VAR_* a, VAR_* b, uint16_t code, VAR_*& result) {
    if (a->Type != Types.Int || b->Type != Types.Int || a->Props) return false;
    const auto x = uint64_t(a->Data.i), y = uint64_t(b->Data.i);
    switch (code) {
    case opAdd: result = NewInt(int64_t(x + y)); return true;
    case opSub: result = NewInt(int64_t(x - y)); return true;
    case opMul: result = NewInt(int64_t(x * y)); return true;
    case opEqual: result = NewBool(a->Data.i == b->Data.i); return true;
    case opNotEqual: result = NewBool(a->Data.i != b->Data.i); return true;
    case opLess: result = NewBool(a->Data.i < b->Data.i); return true;
    case opGreater: result = NewBool(a->Data.i > b->Data.i); return true;
    case opLessEqual: result = NewBool(a->Data.i <= b->Data.i); return true;
    case opGreaterEqual: result = NewBool(a->Data.i >= b->Data.i); return true;
    default: return false;
    }
}

VAR_* Binary(VAR_* a, VAR_* b, uint16_t code) {
    if (VAR_* result = nullptr; IntegerFastPath(a, b, code, result)) return result;
    switch (code) {
    case opAdd: return OnCopy(a, [b](VAR_* c) { return c->Add(b); });
    case opMul: return OnCopy(a, [b](VAR_* c) { return c->Mul(b); });
    case opDiv: return OnCopy(a, [b](VAR_* c) { return c->Divide(b); });
    case opIntDiv: return OnCopy(a, [b](VAR_* c) { return c->IntDiv(b); });
    case opMod: return OnCopy(a, [b](VAR_* c) { return c->Mod(b); });
    case opBitAnd: return OnCopy(a, [b](VAR_* c) { return c->BitAnd(b); });
    case opBitOr: return OnCopy(a, [b](VAR_* c) { return c->BitOr(b); });
    case opBitXor: return OnCopy(a, [b](VAR_* c) { return c->BitXor(b); });
    case opShl: return OnCopy(a, [b](VAR_* c) { return c->Shl(b); });
    case opShr: return OnCopy(a, [b](VAR_* c) { return c->Shr(b); });
    case opAnd: return OnCopy(a, [b](VAR_* c) { return c->And(b); });
    case opOr: return OnCopy(a, [b](VAR_* c) { return c->Or(b); });
    case opXor: return OnCopy(a, [b](VAR_* c) { return c->Xor(b); });
    case opConcat: return OnCopy(a, [b](VAR_* c) { c->Retype(Types.String); return c->Add(b); });
    case opEqual: return NewBool(a->Equal(b));
    case opNotEqual: return NewBool(a->NotEqual(b));
    case opLess: return NewBool(a->Less(b));
    case opGreater: return NewBool(a->Greater(b));
    case opLessEqual: return NewBool(a->LessEqual(b));
    case opGreaterEqual: return NewBool(a->GreaterEqual(b));
    case opIdentical: return NewBool(a->TypeName == b->TypeName && a->Equal(b));
    case opNotIdentical: return NewBool(a->TypeName != b->TypeName || a->NotEqual(b));
    default: return a->Copy();
    }
}

VAR_* Apply(VAR_* a, VAR_* b, uint16_t code, bool leftEmpty) {
    switch (code) {
    case opAssign: return b->Copy();
    case opSub:
        if (leftEmpty || a->Type == Types.Null) return OnCopy(b, [](VAR_* c) { return c->Neg(); });
        return OnCopy(a, [b](VAR_* c) { return c->Sub(b); });
    case opBitNot: return OnCopy(b, [](VAR_* c) { return c->BitNot(); });
    case opNot: return OnCopy(b, [](VAR_* c) { return c->Not(); });
    default: break;
    }
    if (code > opAssign && code <= opConcatAssign) return Compound(a, b, code);
    return Binary(a, b, code);
}

}  // namespace

VAR_* Operate(VAR_* a, VAR_* b, uint16_t code) {
    return Guarded(kMathError, [&] {
        // Empty operands stand in as Null values for the operation only.
        TempRef nullLeft(a ? nullptr : NewNull());
        TempRef nullRight(b ? nullptr : NewNull());
        VAR_* left = a ? a : nullLeft.get();
        VAR_* right = b ? b : nullRight.get();
        VAR_* result = Apply(left, right, code, a == nullptr);
        if (result == nullLeft.get()) nullLeft.release();
        if (result == nullRight.get()) nullRight.release();
        return result;
    });
}
