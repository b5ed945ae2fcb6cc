// Shared set-up of the built-in type tests: a running value model and a
// few shorthands for making cells and reading results.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "values/ArrayType.h"
#include "values/TypeHelpers.h"
#include "values/scriptvar.h"

class TypesTest : public ::testing::Test {
protected:
    void SetUp() override { StartValueModel("/opt/scriptrun/scriptrun", "/tmp"); }
    void TearDown() override { StopValueModel(); }
};

// A variable: a cell the test owns (not Temp), destroyed at scope end.
class Var {
public:
    explicit Var(VAR_* cell) : cell_(cell) { cell_->Temp = false; }
    ~Var() { cell_->Destroy(); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
    VAR_* operator->() const { return cell_; }
    VAR_* get() const { return cell_; }

private:
    VAR_* cell_;
};

// The text of a result, releasing it when it is a temporary.
inline std::string TextOf(VAR_* result) {
    std::string text = result->GetStr();
    result->Release();
    return text;
}

inline std::string TypeOf(VAR_* result) {
    std::string name = result->TypeName;
    result->Release();
    return name;
}

// An array value (a temporary) holding the given values, appended in order.
inline VAR_* ArrayOf(std::initializer_list<VAR_*> values) {
    VAR_* array = NewArray();
    for (VAR_* value : values) AppendCounted(*TableOf(array), value);
    return array;
}

// A call's argument table, entries named "0", "1", ...
class Args {
public:
    Args(std::initializer_list<VAR_*> values) {
        for (VAR_* value : values) table_.AddCell(std::to_string(table_.Count), value);
    }
    GrafVarArray* get() { return &table_; }

private:
    GrafVarArray table_;
};

// Applies an operator as the machine does to temporaries and gives the
// result as "Tag:text" ("Str:ab", "Int:3", "Bit:True"); both operands
// are released.
using BinaryOp = VAR_* (VAR_::*)(VAR_*);
using UnaryOp = VAR_* (VAR_::*)();

inline std::string Tagged(VAR_* cell) { return std::string(cell->TypeTag()) + ":" + cell->GetStr(); }

inline std::string Apply(VAR_* left, BinaryOp op, VAR_* right) {
    VAR_* result = (left->*op)(right);
    const std::string text = Tagged(result);
    if (result != left) result->Release();
    left->Release();
    right->Release();
    return text;
}

inline std::string Apply(VAR_* operand, UnaryOp op) {
    VAR_* result = (operand->*op)();
    const std::string text = Tagged(result);
    if (result != operand) result->Release();
    operand->Release();
    return text;
}

// A comparison of two temporaries, both released.
using CompareOp = bool (VAR_::*)(VAR_*);
inline bool Compare(VAR_* left, CompareOp op, VAR_* right) {
    const bool result = (left->*op)(right);
    left->Release();
    right->Release();
    return result;
}
