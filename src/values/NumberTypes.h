// The scalar types: Int (signed 64-bit, wrapping), Float (IEEE double,
// arithmetic in extended precision) and Bool. Mixed arithmetic follows
// the left operand: an Int reads its right operand with GetInt, a Float
// with GetFloat, a Bool with GetBool. Int and Float also act as rows of
// bits (indexes are bits, ranges are bit fields).
#pragma once

#include "values/scriptvar.h"

// Slots every scalar type overrides the same way.
#define SCALAR_TYPE_SLOTS                                                    \
    std::string GetStr() override;                                           \
    void SetStr(const std::string& text) override;                           \
    std::string GetTypeName() override;                                      \
    void SetCallName() override;                                             \
    bool IsNull() override;                                                  \
    bool IsEmpty() override;                                                 \
    void CopyData(const CellData& src, CellData& dst) override;              \
    void Adopt(Type_* previous) override;                                    \
    int32_t Size() override;                                                 \
    bool GetBool() override;                                                 \
    int64_t GetInt() override;                                               \
    long double GetFloat() override;                                         \
    Variant GetVariant() override;                                           \
    void SetBool(bool value) override;                                       \
    void SetInt(int64_t value) override;                                     \
    void SetFloat(double value) override;                                    \
    VAR_* Inc() override;                                                    \
    VAR_* Dec() override;                                                    \
    VAR_* Neg() override;                                                    \
    VAR_* Not() override;                                                    \
    VAR_* BitNot() override;                                                 \
    VAR_* Add(VAR_* arg) override;                                           \
    VAR_* Sub(VAR_* arg) override;                                           \
    VAR_* Mul(VAR_* arg) override;                                           \
    VAR_* Divide(VAR_* arg) override;                                        \
    VAR_* IntDiv(VAR_* arg) override;                                        \
    VAR_* Mod(VAR_* arg) override;                                           \
    VAR_* Shl(VAR_* arg) override;                                           \
    VAR_* Shr(VAR_* arg) override;                                           \
    VAR_* BitAnd(VAR_* arg) override;                                        \
    VAR_* BitOr(VAR_* arg) override;                                         \
    VAR_* BitXor(VAR_* arg) override;                                        \
    bool Equal(VAR_* arg) override;                                          \
    bool NotEqual(VAR_* arg) override;                                       \
    bool Greater(VAR_* arg) override;                                        \
    bool GreaterEqual(VAR_* arg) override;                                   \
    bool Less(VAR_* arg) override;                                           \
    bool LessEqual(VAR_* arg) override;

class Int_ : public Type_ {
public:
    Int_();
    SCALAR_TYPE_SLOTS
    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetIndex(VAR_* key, VAR_* value) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    VAR_* CallArgs(GrafVarArray* args) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;
    VAR_* GetPosition() override;
    void SetPosition(VAR_* position) override;
    VAR_* Element() override;
    bool IsEOF() override;
    void First() override;
    void Next() override;
    void Prev() override;
    void Last() override;

private:
    int64_t& Value();
    int Bit(VAR_* key);  // a normalised bit number
    // -1, 0 or 1; NaN rules apply when the right operand is a Float.
    int Compare(VAR_* arg);
};

class Float_ : public Type_ {
public:
    Float_();
    SCALAR_TYPE_SLOTS
    VAR_* GetIndex(VAR_* key) override;
    VAR_* GetRange(VAR_* from, VAR_* to) override;
    void SetIndex(VAR_* key, VAR_* value) override;
    void SetRange(VAR_* from, VAR_* to, VAR_* value) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;

private:
    double& Value();
    uint64_t Pattern();
    void SetPattern(uint64_t pattern);
    // Stores an extended-precision result; overflow fails the operation.
    VAR_* Store(long double result);
    // The rounded value through an integer operation; the cell becomes an Int.
    VAR_* AsInt(int64_t result);
};

class Bool_ : public Type_ {
public:
    Bool_();
    SCALAR_TYPE_SLOTS
    VAR_* And(VAR_* arg) override;
    VAR_* Or(VAR_* arg) override;
    VAR_* Xor(VAR_* arg) override;
    VAR_* Element() override;

private:
    bool Value();
    VAR_* Store(bool value);
};

#undef SCALAR_TYPE_SLOTS

// Comparison of two floats with the script's NaN rules: a NaN on either
// side makes them equal for Equal/NotEqual and "greater" for ordering.
// Gives -1, 0, 1, or 2 for "unordered".
int CompareFloats(long double a, long double b);
bool FloatEqual(int order);
bool FloatGreater(int order);
bool FloatGreaterEqual(int order);
bool FloatLess(int order);
bool FloatLessEqual(int order);

// "Round" of a Float: the text cut at its decimal comma, plus 1 when the
// first digit after the comma is 5 or more.
int64_t RoundFloatText(double value);
